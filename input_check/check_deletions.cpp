// The files of DELETE_FILES, as the run deletes them at its end.
#include <string>
#include <vector>

#include "framework/opnfil.h"
#include "input/d_inpkey.h"
#include "input_check/check_parts.h"
#include "orbit_check/check_output_files.h"
#include "orbit_check/protocol_keyword.h"
#include "platform/file_identity.h"
#include "platform/fixed_text.h"

namespace input_check {

namespace {

// A file the run reads: what names it, and the name it is opened under.
struct RunInput {
  std::string what;
  std::string opened;
};

// The inputs as the output check compares them: the input file under its
// name as given (it is opened before the variables are known).
std::vector<RunInput> run_inputs(const orbit_check::RunFileNames& run) {
  std::vector<RunInput> inputs{{"the input file", input::inpKey.inpFil}};
  const auto add = [&inputs](const char* what, const std::string& given) {
    if (!platform::is_blank(given)) inputs.push_back({what, framework::whole_expanded_name(given)});
  };
  const char* list = orbit_check::protocol_keyword(true);
  for (const std::string& p : run.protocols) add(list ? list : "", p);
  add("SATCRUX", run.crxName);
  add("SYSINP", orbit_check::quiet_name("SYSINP"));
  add("CONST", orbit_check::quiet_name("CONST"));
  return inputs;
}

// The entries of the list that counts (the last DELETE_FILES), as written.
std::vector<std::string> written_entries() {
  std::vector<std::string> entries;
  for (const framework::t_key& key : input::inpKey.keys) {
    if (platform::same_text(key.name, "DELETE_FILES")) entries = key.value;
  }
  return entries;
}

// Line of entry k of the last DELETE_FILES.
int entry_line(const CheckContext& ctx, std::size_t k) {
  int line = 0;
  for (const ScannedKey& key : ctx.scan.keys) {
    if (!platform::same_text(platform::cut(key.name, 32), "DELETE_FILES")) continue;
    line = key.count > 1 && k < key.valueLines.size() ? key.valueLines[k] : key.line;
  }
  return line;
}

// True when the run opens a file under the name entry (as given): only then
// does it replace the variables of the entry, which it deletes.
bool opened_by_run(const CheckContext& ctx, const std::string& entry) {
  for (const NamedFile& f : ctx.named) {
    if (f.key != "DELETE_FILES" && platform::same_text(f.given, entry)) return true;
  }
  return false;
}

}  // namespace

void check_deletions(CheckContext& ctx, const orbit_check::RunFileNames& run) {
  if (!ctx.refused.empty()) return;  // the run stops before it deletes anything
  const std::vector<RunInput> inputs = run_inputs(run);
  const std::vector<std::string> written = written_entries();
  for (std::size_t k = 0; k < ctx.delFil.size(); ++k) {
    const std::string& entry = ctx.delFil[k];
    if (platform::is_blank(entry)) continue;
    ctx.named.push_back({"DELETE_FILES", entry_line(ctx, k), entry});
    const std::string name = framework::silent_expanded_name(entry);
    const std::string absolute = platform::absolute_name(name);
    const RunInput* read = nullptr;
    for (const RunInput& in : inputs) {
      if (!read && platform::same_existing_file(name, in.opened)) read = &in;
    }
    const std::string as = k < written.size() ? std::string(platform::rtrim(written[k])) : entry;
    if (!read && entry.find('$') != std::string::npos && !opened_by_run(ctx, entry)) {
      ctx.diag.warning(entry_line(ctx, k),
                       "DELETE_FILES: the run does not delete " + absolute + ": it replaces the "
                       "variables of an entry only where it opens a file of that name, and it "
                       "opens none of " + quoted(as) + "; write " + quoted(name));
      continue;
    }
    if (!read) {
      ctx.diag.note(ctx.line_of("DELETE_FILES"),
                    "DELETE_FILES: the run deletes " + absolute + " at its end");
      continue;
    }
    ctx.diag.error(entry_line(ctx, k), "DELETE_FILES: the run does not delete " + absolute +
                                           ", which it reads (" + read->what +
                                           "), and warns; take " + quoted(as) + " off the list");
  }
}

}  // namespace input_check
