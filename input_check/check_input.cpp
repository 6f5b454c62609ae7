#include "input_check/check_input.h"

#include "framework/m_tolk.h"
#include "input/d_inpkey.h"
#include "input/keyword_line.h"
#include "input_check/check_parts.h"
#include "platform/file_access.h"
#include "platform/fixed_text.h"
#include "platform/units.h"

namespace input_check {

namespace {

// A unit that is never connected: what the run's routines write to it is
// dropped, so the check shows its own findings only.
constexpr int kSilentUnit = 990;
constexpr std::size_t kNameLength = 255;

// Counts the run could not hold: its allocation would fail and end the run.
bool too_large(CheckContext& ctx) {
  bool found = false;
  const long long maxValues = input::kMaxArrayBytes / static_cast<long long>(sizeof(std::string));
  for (const ScannedKey& k : ctx.scan.keys) {
    if (k.count <= maxValues) continue;
    ctx.diag.error(k.line, "the count " + std::to_string(k.count) +
                               " is too large: the run cannot hold its values and stops");
    found = true;
  }
  return found;
}

int cannot_read(const std::string& name, const std::string& why, std::string& report) {
  Diagnostics diag;
  diag.error(0, "the input file cannot be read: " + why);
  report = diag.render(name);
  return 2;
}

}  // namespace

int CHECK_INPUT(const std::string& inpFil, std::string& report) {
  const std::string name(platform::rtrim(inpFil));
  const int access = platform::read_access(name);
  if (access != 0) return cannot_read(name, platform::access_words(access), report);
  // The run reads such a file once; reading it here would take its data.
  if (const char* kind = not_read_kind(name)) return cannot_read(name, std::string("it is ") + kind + ": the check does not read it", report);
  framework::m_tolk.lfnMsg = kSilentUnit;
  framework::m_tolk.lfnOut = kSilentUnit;
  const int lfn = framework::m_tolk.lfnWork;
  if (platform::open_unit(lfn, name, platform::OpenStatus::Old, true) != 0) {
    return cannot_read(name, "cannot be opened", report);
  }
  CheckContext ctx;
  ctx.scan = scan_keywords(lfn);
  platform::close_unit(lfn);
  if (ctx.scan.readError) return cannot_read(name, "a read failed", report);
  check_lines(ctx);
  // The run takes the name from its command line, held in 255 characters.
  if (name.size() > kNameLength) {
    ctx.refused.push_back({"READINPF", "", name, input::TooLong::Given, name.size()});
    report_refused(ctx, ctx.refused.back());
  } else if (ctx.scan.badLine == 0 && !too_large(ctx)) {
    input::READINPF(name, input::inpKey, &ctx.refused);
    // Nothing of the check may delete a file, whatever path it takes.
    ctx.delFil = input::inpKey.delFil;
    input::inpKey.delFil.clear();
    input::inpKey.nDel = 0;
    check_options(ctx);
    check_files(ctx);
    check_run_case(ctx);
  }
  check_long_lines(ctx);
  report = ctx.diag.render(name);
  return ctx.diag.errors() > 0 ? 1 : 0;
}

}  // namespace input_check
