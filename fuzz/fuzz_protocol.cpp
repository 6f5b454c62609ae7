// Reads arbitrary bytes as a TRJFIT protocol and runs everything the program
// does with an extract: the summary step, the editing under both rules and
// the reports.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "orbit_check/asplit.h"
#include "orbit_check/edit_rule.h"
#include "orbit_check/extdef.h"
#include "orbit_check/protocol_extract.h"
#include "orbit_check/rms_summary.h"
#include "orbit_check/split_report.h"

namespace {

void read_protocol(const std::string& path, int arcNum, orbit_check::ProtocolExtract& e) {
  int irc = 0;
  orbit_check::EXTDEF(path, arcNum, e.window, e.nSat, e.satNum, e.rms, e.nEcl, e.eclSat,
                      e.longShadow, e.nArc, irc);
  fuzzsupport::require(irc == 0 || irc == 1, "EXTDEF return code");
  fuzzsupport::require(e.nSat <= orbit_check::kMaxSat && e.nEcl <= orbit_check::kMaxEcl,
                       "EXTDEF counts within the arrays");
}

void use_extract(const std::string& path, orbit_check::ProtocolExtract& e) {
  double rmsMax = 0.0;
  int satMax = 0;
  orbit_check::SUMMARIZE_PROTOCOL(path, e, e.window, rmsMax, satMax, true);
  orbit_check::ThresholdTable thr;
  thr.factor = {3.0, 1.0, 0.5, 0.0, 2.0, 3.0};
  thr.limit = {0.0, 0.02, 0.0, 0.0, 0.0, 0.0};
  std::array<double, orbit_check::kMaxSys> level{};
  orbit_check::SplitList split;
  orbit_check::edit_candidates(e, thr, level, split);
  fuzzsupport::require(split.count == static_cast<int>(split.satNum.size()), "split count");
  orbit_check::print_split_tables(e, thr, level, split);
  orbit_check::write_split_report(11, thr, level, split, e.window[0] + 1.0, "SATCRUX", path);
  // The median rule: candidates only in systems it can edit.
  thr.rule = orbit_check::EditRule::Median;
  const auto systems = orbit_check::system_editing(e, thr);
  orbit_check::warn_not_editable(systems, thr);
  orbit_check::edit_candidates(e, thr, level, split);
  for (int s = 0; s < orbit_check::kMaxSys; ++s) {
    fuzzsupport::require(systems[s].editable || level[s] == 0.0,
                         "no median level for a system not edited");
  }
  orbit_check::print_split_tables(e, thr, level, split);
  orbit_check::write_split_report(11, thr, level, split, e.window[0] + 1.0, "SATCRUX", path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzsupport::fresh_state();
  const std::string path =
      fuzzsupport::write_file("FUZZ.PRT", {reinterpret_cast<const char*>(data), size});
  fuzzsupport::run([&] {
    orbit_check::ProtocolExtract e;
    read_protocol(path, 1, e);
    use_extract(path, e);
    // A second protocol in the same run starts from the first one's state.
    orbit_check::ProtocolExtract again;
    read_protocol(path, size > 0 ? data[0] % 4 : 2, again);
  });
  return 0;
}
