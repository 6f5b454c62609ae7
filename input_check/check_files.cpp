// The files an input file names, as the run will open them.
#include <vector>

#include "framework/opnfil.h"
#include "input/d_inpkey.h"
#include "input/gtfile.h"
#include "input/gtflna.h"
#include "input/rplenvar.h"
#include "input_check/check_parts.h"
#include "input_check/fitchk_keywords.h"
#include "orbit_check/check_output_files.h"
#include "orbit_check/protocol_keyword.h"
#include "platform/file_access.h"
#include "platform/file_identity.h"
#include "platform/fixed_text.h"
#include "platform/units.h"

namespace input_check {

namespace {

constexpr int kMaxFil = 100;

// The variable references left in a name after the run's replacement:
// each an unknown variable or a "${" without "}".
std::vector<std::string> unresolved(const std::string& opened, bool& braceMissing) {
  std::vector<std::string> vars;
  braceMissing = false;
  for (std::size_t d = opened.find('$'); d != std::string::npos && d + 1 < opened.size();
       d = opened.find('$', d + 1)) {
    if (opened[d + 1] != '{') {
      vars.push_back(opened.substr(d + 1, 1));
      continue;
    }
    const std::size_t close = opened.find('}', d + 2);
    if (close == std::string::npos) {
      braceMissing = true;
      break;
    }
    vars.push_back(opened.substr(d + 2, close - d - 2));
  }
  return vars;
}

// "(from "given", P = value)" for a name with variables, else "".
std::string origin(const std::string& given) {
  if (given.find('$') == std::string::npos) return "";
  std::string text = " (from " + quoted(given);
  bool brace = false;
  for (const std::string& var : unresolved(given, brace)) {
    std::string value = "${" + var + "}";
    input::RPLENVAR(0, value);
    if (value.find('$') == std::string::npos) text += ", " + var + " = " + std::string(platform::rtrim(value));
  }
  return text + ")";
}

// Notes the name opened; false when variables are left in it (reported).
bool opened_name(CheckContext& ctx, int line, const std::string& key, const std::string& given,
                 bool output, std::string& absolute) {
  ctx.named.push_back({key, line, given});
  const std::string opened(platform::rtrim(framework::silent_expanded_name(given)));
  bool brace = false;
  const std::vector<std::string> vars = unresolved(opened, brace);
  if (brace) {
    ctx.diag.error(line, key + ": \"}\" is missing in " + quoted(given));
    return false;
  }
  if (!vars.empty()) {
    std::string list;
    for (const std::string& v : vars) list += (list.empty() ? "" : ", ") + v;
    ctx.diag.error(line, key + ": ENVIRONMENT does not define " +
                             (vars.size() == 1 ? "the variable " : "the variables ") + list +
                             "; the run opens " + quoted(opened));
    return false;
  }
  absolute = platform::absolute_name(opened);
  ctx.diag.note(line, key + ": the run " + (output ? "writes " : "reads ") + absolute);
  return true;
}

// An input the run opens; true when it can be read.
bool check_input_file(CheckContext& ctx, int line, const std::string& key, const std::string& given,
                      Level level) {
  std::string absolute;
  if (!opened_name(ctx, line, key, given, false, absolute)) return false;
  const int status = platform::read_access(absolute);
  if (status == 0) return true;
  ctx.diag.add(line, level, key + ": cannot read " + absolute + ": " + platform::access_words(status) +
                                origin(given));
  return false;
}

// An output that leads to the run's standard output or error: whether it
// clashes depends on where the run's console goes, which the check cannot see.
bool standard_stream_output(CheckContext& ctx, int line, const std::string& key,
                            const std::string& given) {
  const std::string opened(platform::rtrim(framework::silent_expanded_name(given)));
  const int stream = platform::standard_stream(opened);
  if (stream == 0) return false;
  const std::string what = stream == 1 ? "standard output" : "standard error";
  ctx.diag.note(line, key + ": the run writes its " + what + " (" + opened + ")");
  ctx.diag.warning(line, key + ": " + quoted(opened) + " is the run's " + what +
                             ": where that goes to a regular file (a log), the run stops with "
                             "\"Two output files name the same file\"; a terminal, a pipe or "
                             "/dev/null take the output");
  return true;
}

void check_output_file(CheckContext& ctx, int line, const std::string& key, const std::string& given) {
  if (standard_stream_output(ctx, line, key, given)) return;
  std::string absolute;
  if (!opened_name(ctx, line, key, given, true, absolute)) return;
  std::string folder;
  const int status = platform::write_access(absolute, folder);
  if (status == 0) return;
  std::string what;
  if (folder.empty()) {
    what = status == platform::kErrIsDirectory ? absolute + " is a folder"
                                               : "cannot write " + absolute + ": " + platform::access_words(status);
  } else if (status == platform::kErrNotFound) {
    what = "no such folder: " + folder;
  } else if (status == platform::kErrAccess) {
    what = "cannot write in the folder " + folder + ": permission denied";
  } else {
    what = "the folder " + folder + " cannot be used: " + platform::access_words(status);
  }
  ctx.diag.error(line, key + ": " + what + origin(given));
}

// A name read as the run reads it; blank when it is missing or refused.
std::string file_name(const char* key) {
  return std::string(platform::rtrim(orbit_check::quiet_name(key)));
}

// A FIFO or a device the run reads is not read here.
bool not_read(CheckContext& ctx, const ProtocolName& p) {
  const std::string opened = framework::silent_expanded_name(p.given);
  const char* kind = not_read_kind(opened);
  if (kind) {
    ctx.diag.note(p.line, "protocol: " + platform::absolute_name(opened) + " is " + kind +
                              ": the run reads it, the check does not");
  }
  return kind != nullptr;
}

// A protocol listed again under another spelling or through a link: the run
// reads it twice (and has one protocol more than meant).
void listed_twice(CheckContext& ctx, const char* key) {
  const std::vector<ProtocolName>& list = ctx.protocols;
  for (std::size_t j = 1; j < list.size(); ++j) {
    const std::string name = framework::silent_expanded_name(list[j].given);
    for (std::size_t i = 0; i < j; ++i) {
      const std::string before = framework::silent_expanded_name(list[i].given);
      if (!platform::same_existing_file(before, name)) continue;
      ctx.diag.warning(list[j].line,
                       std::string(key) + ": " + quoted(list[j].given) + " is " +
                           platform::absolute_name(name) + ", listed before (line " +
                           std::to_string(list[i].line) + "): the run reads it twice");
      break;
    }
  }
}

// The protocol list that RADIO_1 selects, as GTFILE gives it.
void protocol_list(CheckContext& ctx) {
  const char* key = orbit_check::protocol_keyword();
  if (!key) return;
  if (!input::TSTKEY(key)) {
    ctx.diag.error(0, std::string(key) + " is missing: no protocol will be read");
    return;
  }
  std::vector<std::string> value;
  int irc = 0;
  input::READKEYS(key, value, irc);
  if (static_cast<int>(value.size()) > kMaxFil && !platform::is_blank(value[0])) {
    ctx.diag.error(ctx.line_of(key), std::string(key) + " names " + std::to_string(value.size()) +
                                         " files: the run stops with \"too many files\" (at most " +
                                         std::to_string(kMaxFil) + ")");
    return;
  }
  int nFil = static_cast<int>(value.size());
  std::vector<std::vector<std::string>> names{value};
  // GTFILE would end the check at a name that does not fit.
  if (!ctx.is_refused(key)) input::GTFILE(key, 1, kMaxFil, nFil, names);
  if (nFil == 0) ctx.diag.error(ctx.line_of(key), std::string(key) + " is empty: no protocol will be read");
  for (int i = 0; i < nFil; ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    ProtocolName p;
    p.given = std::string(platform::rtrim(names[0][k]));
    p.line = ctx.value_line(key, k);
    bool refused = false;
    for (const input::NameFault& f : ctx.refused) refused = refused || (f.keyWord == key && f.item == k);
    p.readable = !refused && check_input_file(ctx, p.line, key, p.given, Level::Error);
    p.notRead = p.readable && not_read(ctx, p);
    ctx.protocols.push_back(p);
  }
  listed_twice(ctx, key);
}

void system_files(CheckContext& ctx) {
  const std::string sysInp = file_name("SYSINP");
  if (!sysInp.empty()) check_input_file(ctx, ctx.value_line("SYSINP", 0), "SYSINP", sysInp, Level::Error);
  const std::string sysOut = file_name("SYSOUT");
  if (!sysOut.empty()) check_output_file(ctx, ctx.value_line("SYSOUT", 0), "SYSOUT", sysOut);
  const std::string sysErr = file_name("SYSERR");
  bool merged = false;
  if (input::TSTKEY("ERRMRG")) {
    merged = orbit_check::messages_merged();
    if (!merged && sysErr.empty() && !ctx.is_refused("SYSERR")) {
      ctx.diag.error(ctx.line_of("SYSERR") ? ctx.line_of("SYSERR") : ctx.line_of("ERRMRG"),
                     "SYSERR names no file and ERRMRG is not \"1\": the run stops with "
                     "\"File name not found or blank\"");
    }
  }
  if (!merged && !sysErr.empty() && sysErr != "SYSOUT") {
    check_output_file(ctx, ctx.value_line("SYSERR", 0), "SYSERR", sysErr);
  }
}

// The clashes the run finds, before it opens the program output and after
// it has read its options.
void check_clashes(CheckContext& ctx, const orbit_check::RunFileNames& run) {
  for (const orbit_check::OutputClash& c : orbit_check::find_output_clashes(
           run.outputs, input::inpKey.inpFil, run.protocols, run.crxName)) {
    ctx.diag.error(ctx.value_line(c.keyWord, 0),
                   c.keyWord + ": the run stops with \"" + c.head + "\" (" + c.second + ")");
  }
}

}  // namespace

void report_refused(CheckContext& ctx, const input::NameFault& f) {
  const int line = f.keyWord.empty() ? 0 : ctx.value_line(f.keyWord, f.item);
  std::string why;
  if (f.why == input::TooLong::LineCut) {
    std::size_t length = 0;
    for (const LongLine& l : ctx.scan.longLines) length = l.line == line ? l.length : length;
    why = "its line has " + std::to_string(length) + " characters and cuts it at 255";
  } else if (f.why == input::TooLong::Variable) {
    why = "a variable it uses is defined on a line longer than 255 characters";
  } else {
    why = std::string(f.why == input::TooLong::Replaced ? "with its variables replaced " : "") +
          "it has " + std::to_string(f.length) + " characters, at most 255 fit";
  }
  ctx.diag.error(line, (f.keyWord.empty() ? std::string("the run refuses the name of the input file")
                                          : f.keyWord + ": the run refuses the name") +
                           " and stops with \"File name too long\" before it opens any file (" +
                           why + ")");
}

void check_files(CheckContext& ctx) {
  const orbit_check::RunFileNames run = orbit_check::run_file_names();
  ctx.refused.insert(ctx.refused.end(), run.refused.begin(), run.refused.end());
  for (const input::NameFault& f : ctx.refused) report_refused(ctx, f);
  system_files(ctx);
  protocol_list(ctx);
  orbit_check::OutputNames names;
  names.outFil = file_name("OUTFIL");
  names.weekFm = file_name("WEEKFM");
  names.aSplit = file_name("ASPLIT");
  names.plotFil = file_name("PLOTFIL");
  names.jsonFil = file_name("JSONFIL");
  if (names.outFil.empty() && !ctx.is_refused("OUTFIL")) {
    ctx.diag.error(ctx.line_of("OUTFIL"), std::string("OUTFIL ") +
                                              (ctx.line_of("OUTFIL") ? "names no file" : "is missing") +
                                              ": the run stops with \"File name not found or blank\"");
  }
  const std::pair<const char*, const std::string*> outputs[] = {
      {"OUTFIL", &names.outFil}, {"WEEKFM", &names.weekFm}, {"ASPLIT", &names.aSplit},
      {"PLOTFIL", &names.plotFil}, {"JSONFIL", &names.jsonFil}};
  for (const auto& [key, name] : outputs) {
    if (!name->empty()) check_output_file(ctx, ctx.value_line(key, 0), key, *name);
  }
  ctx.aSplit = names.aSplit;
  ctx.crxName = file_name("SATCRUX");
  ctx.crxLine = ctx.value_line("SATCRUX", 0);
  if (!ctx.crxName.empty()) ctx.named.push_back({"SATCRUX", ctx.crxLine, ctx.crxName});
  check_clashes(ctx, run);
  check_deletions(ctx, run);
  check_relative_names(ctx);
}

}  // namespace input_check
