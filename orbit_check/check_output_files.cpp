#include "orbit_check/check_output_files.h"

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/write_line.h"
#include "input/chkfln.h"
#include "input/d_inpkey.h"
#include "input/gtflna.h"
#include "orbit_check/protocol_keyword.h"
#include "platform/field_read.h"
#include "platform/file_identity.h"
#include "platform/fixed_text.h"
#include "timeutil/sjustl.h"

namespace orbit_check {
namespace {

// A file of the run: its keyword (outputs), the name as given and the name
// it is opened under.
struct RunFile {
  std::string_view keyWord;
  std::string given;
  std::string opened;
  bool console = false;  // the standard output or error of the run
};

// Adds a named file with its variables replaced, silently.
void add_file(std::vector<RunFile>& files, std::string_view keyWord, std::string_view given) {
  if (platform::is_blank(given)) return;
  files.push_back(
      {keyWord, std::string(platform::rtrim(given)), framework::whole_expanded_name(given)});
}

// The input file was opened before the variables were known: its name as given.
RunFile input_file(std::string_view inpFil) {
  std::string opened = platform::cut(inpFil, 255);
  timeutil::SJUSTL(opened);
  return {"", std::string(platform::rtrim(inpFil)), opened};
}

// A standard stream of the run that goes to a regular file.
void add_console(std::vector<RunFile>& files, std::string_view what, int stream) {
  const std::string file = platform::console_file(stream);
  if (!file.empty()) files.push_back({what, platform::absolute_name(file), file, true});
}

std::string output_line(const RunFile& f) {
  if (f.console) return "Output file: " + std::string(f.keyWord) + " (" + f.given + ")";
  return "Output file: " + std::string(f.keyWord) + " " + f.given;
}

bool is_system(const RunFile& f) { return f.keyWord == "SYSOUT" || f.keyWord == "SYSERR"; }

// Two outputs are one file when their absolute names are equal or they are
// one existing file; a device is written without replacing anything.
bool same_output(const RunFile& a, const RunFile& b) {
  if (platform::is_device(a.opened) || platform::is_device(b.opened)) return false;
  return platform::absolute_name(a.opened) == platform::absolute_name(b.opened) ||
         platform::same_existing_file(a.opened, b.opened);
}

}  // namespace

std::string quiet_name(const char* keyWord, std::vector<input::NameFault>* refused) {
  if (!input::TSTKEY(keyWord)) return std::string();
  std::vector<std::string> value;
  int irc = 0;
  input::READKEYS(keyWord, value, irc);
  const std::string given = value.empty() ? std::string() : platform::cut(value[0], 255);
  if (platform::is_blank(given)) return std::string();
  if (const auto fault = input::name_fault("GTFLNA", keyWord, given, input::value_cut(keyWord, 0))) {
    if (refused) refused->push_back(*fault);
    return std::string();
  }
  std::string name;
  input::GTFLNA(0, keyWord, name, irc);
  return name;
}

namespace {

std::vector<std::string> quiet_values(const char* keyWord) {
  std::vector<std::string> value;
  int irc = 1;
  if (input::TSTKEY(keyWord)) input::READKEYS(keyWord, value, irc);
  if (irc != 0) value.clear();
  return value;
}

}  // namespace

bool messages_merged() {
  const std::vector<std::string> box = quiet_values("ERRMRG");
  int v = 0;
  return !box.empty() && platform::read_free_int(box[0], v) && v == 1;
}

namespace {

// The protocols as the main program lists them ("RADIO_1"), each checked
// for its length as GTFILE does; one that does not fit is left out.
std::vector<std::string> quiet_protocols(std::vector<input::NameFault>& refused) {
  const char* keyWord = protocol_keyword(true);
  if (!keyWord) return {};
  std::vector<std::string> files = quiet_values(keyWord);
  if (files.empty() || platform::is_blank(files[0])) return {};
  std::vector<std::string> fitting;
  for (std::size_t i = 0; i < files.size(); ++i) {
    auto fault = input::name_fault("GTFILE", keyWord, files[i], input::value_cut(keyWord, i));
    if (!fault) {
      fitting.push_back(files[i]);
      continue;
    }
    fault->item = i;
    refused.push_back(*fault);
  }
  return fitting;
}

// The message file's name, blank when the messages are merged.
std::string quiet_message_file(std::vector<input::NameFault>& refused) {
  if (messages_merged()) return std::string();
  const std::string name = quiet_name("SYSERR", &refused);
  return platform::same_text(name, "SYSOUT") ? std::string() : name;
}

// The files the run reads: the input file, the protocols, the satellite
// problem file, "SYSINP" and "CONST".
std::vector<RunFile> input_files(std::string_view inpFil, const std::vector<std::string>& protocols,
                                 std::string_view crxName) {
  std::vector<RunFile> inputs{input_file(inpFil)};
  const char* list = protocol_keyword(true);
  for (const std::string& p : protocols) add_file(inputs, list ? list : "", p);
  add_file(inputs, "SATCRUX", crxName);
  add_file(inputs, "SYSINP", quiet_name("SYSINP"));
  add_file(inputs, "CONST", quiet_name("CONST"));
  return inputs;
}

// The outputs named, in their order; with names.console the run's standard
// output and error after them.
std::vector<RunFile> outputs_of(const OutputNames& names) {
  std::vector<RunFile> outputs;
  add_file(outputs, "SYSOUT", names.sysOut);
  add_file(outputs, "SYSERR", names.sysErr);
  add_file(outputs, "OUTFIL", names.outFil);
  add_file(outputs, "WEEKFM", names.weekFm);
  add_file(outputs, "ASPLIT", names.aSplit);
  add_file(outputs, "PLOTFIL", names.plotFil);
  add_file(outputs, "JSONFIL", names.jsonFil);
  if (names.console) {
    add_console(outputs, "standard output", 1);
    add_console(outputs, "standard error", 2);
  }
  return outputs;
}

}  // namespace

std::vector<OutputClash> find_output_clashes(const OutputNames& names, std::string_view inpFil,
                                             const std::vector<std::string>& protocols,
                                             std::string_view crxName, bool systemOnly) {
  const std::vector<RunFile> outputs = outputs_of(names);
  const std::vector<RunFile> inputs = input_files(inpFil, protocols, crxName);
  std::vector<OutputClash> clashes;
  for (const RunFile& out : outputs) {
    // The console was opened by the caller of the run, before it.
    if (out.console || (systemOnly && !is_system(out))) continue;
    if (platform::is_device(out.opened)) continue;
    for (const RunFile& in : inputs) {
      if (!platform::same_existing_file(out.opened, in.opened)) continue;
      clashes.push_back({"Output file would overwrite an input file of the run", output_line(out),
                         "Input file : " + in.given, std::string(out.keyWord), ""});
    }
  }
  for (std::size_t a = 0; a < outputs.size(); ++a) {
    for (std::size_t b = a + 1; b < outputs.size(); ++b) {
      if (systemOnly && !is_system(outputs[a]) && !is_system(outputs[b])) continue;
      if (outputs[a].console) continue;  // standard output and error may share a file
      if (!same_output(outputs[a], outputs[b])) continue;
      clashes.push_back({"Two output files name the same file", output_line(outputs[a]),
                         output_line(outputs[b]), std::string(outputs[a].keyWord),
                         std::string(outputs[b].keyWord)});
    }
  }
  return clashes;
}

void check_output_files(const OutputNames& names, std::string_view inpFil,
                        const std::vector<std::string>& protocols, std::string_view crxName,
                        bool systemOnly) {
  const std::vector<OutputClash> clashes =
      find_output_clashes(names, inpFil, protocols, crxName, systemOnly);
  if (clashes.empty()) return;
  const OutputClash& c = clashes.front();
  const std::string b16(16, ' ');
  framework::write_lines(framework::m_tolk.lfnMsg,
                         {"", " *** PG FITCHK: " + c.head, b16 + c.first, b16 + c.second, ""});
  framework::EXITRC(2);
}

RunFileNames run_file_names() {
  RunFileNames f;
  OutputNames& names = f.outputs;
  names.sysOut = quiet_name("SYSOUT", &f.refused);
  names.sysErr = quiet_message_file(f.refused);
  names.outFil = quiet_name("OUTFIL", &f.refused);
  names.weekFm = quiet_name("WEEKFM", &f.refused);
  names.aSplit = quiet_name("ASPLIT", &f.refused);
  names.plotFil = quiet_name("PLOTFIL", &f.refused);
  names.jsonFil = quiet_name("JSONFIL", &f.refused);
  f.protocols = quiet_protocols(f.refused);
  f.crxName = quiet_name("SATCRUX", &f.refused);
  quiet_name("SYSINP", &f.refused);
  quiet_name("CONST", &f.refused);
  return f;
}

void check_system_outputs() {
  RunFileNames f = run_file_names();
  f.outputs.console = true;
  if (!f.refused.empty()) input::name_too_long(f.refused.front());
  check_output_files(f.outputs, input::inpKey.inpFil, f.protocols, f.crxName, true);
}

std::vector<framework::ReadFile> run_read_files(const RunFileNames& f) {
  std::vector<framework::ReadFile> files;
  for (const RunFile& in : input_files(input::inpKey.inpFil, f.protocols, f.crxName)) {
    const std::string what = in.keyWord.empty() ? "input file" : std::string(in.keyWord);
    files.push_back({what + " " + in.given, in.opened});
  }
  return files;
}

}  // namespace orbit_check
