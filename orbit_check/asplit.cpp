#include "orbit_check/asplit.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "input/gtflna.h"
#include "orbit_check/edit_rule.h"
#include "satcrux/d_satcrx.h"

namespace orbit_check {
namespace {

constexpr int kMaxSplitEvents = 2000;

struct Sums {
  std::array<double, kMaxSys> sum{};
  std::array<int, kMaxSys> count{};
};

// System index 0..5 of a satellite, -1 for numbers outside 0-599.
int system_index(int satNum) {
  return satNum < 0 || satNum > 599 ? -1 : sat_system(satNum) - 1;
}

Sums system_sums(const ProtocolExtract& ext) {
  Sums s;
  for (int i = 0; i < ext.nSat && i < kMaxSat; ++i) {
    const int sys = system_index(ext.satNum[i]);
    if (sys < 0) continue;
    s.sum[sys] += ext.rms[i] == 0.0 ? kZeroRms : ext.rms[i];
    ++s.count[sys];
  }
  return s;
}

// The satellites at or above the level and the lower limit of their system
// (level 0: the system is not edited).
SplitList candidates_at(const ProtocolExtract& ext, const ThresholdTable& thr,
                        const std::array<double, kMaxSys>& level) {
  SplitList pass;
  for (int i = 0; i < ext.nSat && i < kMaxSat; ++i) {
    const int sys = system_index(ext.satNum[i]);
    if (sys < 0 || level[sys] == 0.0) continue;
    const double rms = ext.rms[i];
    if (rms < level[sys] || rms < thr.limit[sys]) continue;
    pass.satNum.push_back(satcrux::MODSVN(ext.satNum[i]));
    pass.rms.push_back(rms);
  }
  pass.count = static_cast<int>(pass.satNum.size());
  return pass;
}

// One editing pass of the mean rule: levels from the sums, then the
// candidates at or above them.
SplitList editing_pass(const ProtocolExtract& ext, const ThresholdTable& thr, const Sums& start,
                       std::array<double, kMaxSys>& level) {
  level.fill(0.0);
  for (int s = 0; s < kMaxSys; ++s) {
    if (start.count[s] > 0) level[s] = start.sum[s] * thr.factor[s] / start.count[s];
  }
  return candidates_at(ext, thr, level);
}

// Sums without the candidates of a pass, for the next pass's levels.
Sums without(const ProtocolExtract& ext, const ThresholdTable& thr, const Sums& all,
             const std::array<double, kMaxSys>& level) {
  Sums s = all;
  for (int i = 0; i < ext.nSat && i < kMaxSat; ++i) {
    const int sys = system_index(ext.satNum[i]);
    if (sys < 0 || level[sys] == 0.0) continue;
    if (ext.rms[i] < level[sys] || ext.rms[i] < thr.limit[sys]) continue;
    s.sum[sys] -= ext.rms[i];
    --s.count[sys];
  }
  return s;
}

// The records could not be placed: an error, which the caller ends the run
// with once the candidates are reported.
void no_place_error(const std::string& crxName) {
  const std::string b16(16, ' ');
  framework::write_lines(
      framework::m_tolk.lfnMsg,
      {"", " *** SR ASPLIT: No place for arc-split records in the satellite problem file",
       b16 + "File name: " + crxName,
       b16 + "No line from line 7 on begins with 6 blanks: no record was written.", ""});
}

// The reader stopped at a line before the end of the records: what follows
// it is not seen, so this run's records were put before it.
void read_stop_warning(const std::string& crxName, const satcrux::ReadStop& stop) {
  if (stop.line == 0) return;
  const std::string b16(16, ' ');
  const std::string line = std::to_string(stop.line);
  framework::write_lines(
      framework::m_tolk.lfnMsg,
      {"", " ### SR ASPLIT: Reading of the satellite problem file stops at line " + line,
       b16 + "File name : " + crxName, b16 + "Line " + line + " is no record: " + stop.why + ".",
       b16 + "The records after it are not read; arc-split records are put before it.", ""});
}

}  // namespace

AsplitState s_asplit;

void drop_known_splits(double splitEpoch, SplitList& split) {
  std::vector<int> sat;
  std::vector<double> epoch;
  const int n = satcrux::GTSATS(kMaxSplitEvents, sat, epoch);
  for (int e = 0; e < n; ++e) {
    if (epoch[static_cast<std::size_t>(e)] != splitEpoch) continue;
    const int known = std::abs(sat[static_cast<std::size_t>(e)]);
    SplitList kept;
    for (std::size_t k = 0; k < split.satNum.size(); ++k) {
      if (split.satNum[k] == known) continue;
      kept.satNum.push_back(split.satNum[k]);
      kept.rms.push_back(split.rms[k]);
    }
    kept.count = static_cast<int>(kept.satNum.size());
    split = std::move(kept);
  }
}

void edit_candidates(const ProtocolExtract& ext, const ThresholdTable& thresholds,
                     std::array<double, kMaxSys>& level, SplitList& split) {
  if (thresholds.rule == EditRule::Median) {  // the median needs no second pass
    const std::array<double, kMaxSys> median = system_medians(ext);
    for (int s = 0; s < kMaxSys; ++s) level[s] = thresholds.factor[s] * median[s];
    split = candidates_at(ext, thresholds, level);
    return;
  }
  const Sums all = system_sums(ext);
  split = SplitList{};
  Sums current = all;
  for (;;) {
    SplitList pass = editing_pass(ext, thresholds, current, level);
    if (pass.count <= split.count) return;
    split = std::move(pass);
    current = without(ext, thresholds, all, level);
  }
}

void ASPLIT(double splitEpoch, const ProtocolExtract& ext, const ThresholdTable& thresholds,
            std::array<double, kMaxSys>& level, SplitList& split, SplitUpdate* update) {
  SplitUpdate u;
  edit_candidates(ext, thresholds, level, split);
  u.candidates = split.satNum;
  int irc = 0;
  input::GTFLNA(0, "SATCRUX", u.crxName, irc);
  if (irc != 0) u.crxName.clear();
  if (split.count > 0 && irc == 0) {
    add_split_records(u.crxName, splitEpoch, split, u);
    read_stop_warning(u.crxName, satcrux::d_satcrx.satCrux.stop);
    if (u.noPlace) no_place_error(u.crxName);
  }  // without a problem file no arc split is known
  for (int sat : u.candidates) {
    if (std::find(split.satNum.begin(), split.satNum.end(), sat) == split.satNum.end()) {
      u.dropped.push_back(sat);
    }
  }
  if (update) {
    *update = std::move(u);
  } else {
    report_update_failure(u);
    if (u.noPlace) framework::EXITRC(2);
  }
}

}  // namespace orbit_check
