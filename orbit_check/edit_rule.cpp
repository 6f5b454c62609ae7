#include "orbit_check/edit_rule.h"

#include <algorithm>
#include <string>
#include <vector>

#include "input/ckoptc.h"
#include "input/d_inpkey.h"

namespace orbit_check {

EditRule read_edit_rule(int& irCode) {
  constexpr const char* kKey = "EDIT_RULE";
  if (!input::TSTKEY(kKey)) return EditRule::Mean;
  std::vector<std::string> value;
  int irc = 0;
  input::READKEYS(kKey, value, irc);
  const std::vector<std::string_view> allowed(kEditRuleName.begin(), kEditRuleName.end());
  const int mean = static_cast<int>(EditRule::Mean);
  return static_cast<EditRule>(input::CKOPTC(1, kKey, value, "FITCHK",
                                             "Editing rule (MEAN or MEDIAN)", irc, irCode, allowed,
                                             mean, mean));
}

bool mean_rule_blind(int n, double factor) {
  // A satellite x of n reaches factor x (x + rest) / n only when
  // x (n - factor) >= factor x rest, with rest > 0 for n > 1.
  return n > 0 && factor > 0.0 && (n < factor || (n == factor && n > 1));
}

std::array<double, kMaxSys> system_medians(const ProtocolExtract& ext) {
  std::array<std::vector<double>, kMaxSys> values;
  for (int i = 0; i < ext.nSat && i < kMaxSat; ++i) {
    const int sat = ext.satNum[i];
    if (sat < 0 || sat >= 100 * kMaxSys) continue;
    values[sat_system(sat) - 1].push_back(ext.rms[i] == 0.0 ? kZeroRms : ext.rms[i]);
  }
  std::array<double, kMaxSys> median{};
  for (int s = 0; s < kMaxSys; ++s) {
    std::vector<double>& v = values[s];
    const std::size_t n = v.size();
    if (n < static_cast<std::size_t>(kMinMedianSats)) continue;
    std::sort(v.begin(), v.end());
    median[s] = n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
  }
  return median;
}

std::array<SystemEditing, kMaxSys> system_editing(const ProtocolExtract& ext,
                                                  const ThresholdTable& thresholds) {
  std::array<SystemEditing, kMaxSys> systems{};
  for (int i = 0; i < ext.nSat && i < kMaxSat; ++i) {
    const int sat = ext.satNum[i];
    if (sat >= 0 && sat < 100 * kMaxSys) ++systems[sat_system(sat) - 1].count;
  }
  for (int s = 0; s < kMaxSys; ++s) {
    SystemEditing& e = systems[s];
    const double factor = thresholds.factor[s];
    if (factor == 0.0 || e.count == 0) continue;
    e.editable = thresholds.rule == EditRule::Median ? e.count >= kMinMedianSats
                                                     : !mean_rule_blind(e.count, factor);
  }
  if (thresholds.rule != EditRule::Median) return systems;
  const std::array<double, kMaxSys> median = system_medians(ext);
  for (int s = 0; s < kMaxSys; ++s) {
    if (systems[s].editable) systems[s].median = median[s];
  }
  return systems;
}

}  // namespace orbit_check
