#include "history/findings.h"

#include <cmath>
#include <set>

#include "results/number_text.h"

namespace history {
namespace {

constexpr int kMinForMedian = 3;

std::string metres(double v) { return results::fixed_text(v, 3) + " m"; }

std::string satellite(const HistoryView& v, std::size_t r) {
  return "satellite " + std::to_string(v.sats[r]) + " (" + system_name(v.system(r)) + ")";
}

std::string span(long long a, long long b) {
  return a == b ? date_text(a) : date_text(a) + " to " + date_text(b);
}

// Level of system sys on day index d: the run's editing level, else the
// factor times the system's median; 0 when there is none.
double level(const HistoryView& v, const std::vector<std::array<float, kSystems + 1>>& med,
             std::size_t d, std::size_t r, double factor) {
  const int sys = v.system(r);
  if (sys == 0) return 0.0;
  const double edited = v.days[d].file->level[static_cast<std::size_t>(sys - 1)];
  if (edited > 0.0) return edited;
  int n = 0;
  for (std::size_t k = 0; k < v.sats.size(); ++k) n += v.system(k) == sys && v.has(d, k);
  return n >= kMinForMedian ? factor * med[d][static_cast<std::size_t>(sys)] : 0.0;
}

// Index of the first day at or after day.
std::size_t from_day(const HistoryView& v, long long day) {
  std::size_t d = v.days.size();
  while (d > 0 && v.days[d - 1].day >= day) --d;
  return d;
}

void outliers(const HistoryView& v, const HistoryOptions& o, std::vector<Finding>& out) {
  const auto med = daily_medians(v);
  const long long start = v.last - o.outlierWindow + 1;
  const std::size_t d0 = from_day(v, start);
  for (std::size_t r = 0; r < v.sats.size(); ++r) {
    int count = 0;
    std::size_t lastAt = 0;
    double lastLevel = 0.0;
    for (std::size_t d = d0; d < v.days.size(); ++d) {
      const double lv = v.has(d, r) ? level(v, med, d, r, o.outlierFactor) : 0.0;
      if (lv <= 0.0 || v.rms[v.at(d, r)] < lv) continue;
      ++count;
      lastAt = d;
      lastLevel = lv;
    }
    if (count < o.outlierDays) continue;
    out.push_back({"outlier",
                   satellite(v, r) + ": at or above its system's level on " + std::to_string(count) +
                       " of the last " + std::to_string(o.outlierWindow) + " days (" +
                       span(start, v.last) + "); on " + date_text(v.days[lastAt].day) + " " +
                       metres(v.rms[v.at(lastAt, r)]) + ", level " + metres(lastLevel),
                   static_cast<int>(r)});
  }
}

// Median of the satellite's values from day index a to b (excluded) and
// how many there were.
std::pair<double, int> median_of(const HistoryView& v, std::size_t r, std::size_t a, std::size_t b) {
  std::vector<float> values;
  for (std::size_t d = a; d < b; ++d) {
    if (v.has(d, r)) values.push_back(static_cast<float>(v.rms[v.at(d, r)]));
  }
  const int n = static_cast<int>(values.size());
  return {median(values), n};
}

void rises(const HistoryView& v, const HistoryOptions& o, std::vector<Finding>& out) {
  const long long recentStart = v.last - o.riseRecent + 1;
  const long long beforeStart = recentStart - o.riseBefore;
  const std::size_t dr = from_day(v, recentStart), db = from_day(v, beforeStart);
  for (std::size_t r = 0; r < v.sats.size(); ++r) {
    const auto [recent, nr] = median_of(v, r, dr, v.days.size());
    const auto [before, nb] = median_of(v, r, db, dr);
    // Each median needs values on a third of its days.
    if (3 * nr < o.riseRecent || 3 * nb < o.riseBefore || before <= 0.0) continue;
    const double ratio = recent / before;
    if (ratio < o.riseFactor) continue;
    out.push_back({"rise",
                   satellite(v, r) + ": median RMS " + metres(recent) + " in the last " +
                       std::to_string(o.riseRecent) + " days (" + span(recentStart, v.last) + "), " +
                       metres(before) + " in the " + std::to_string(o.riseBefore) +
                       " days before: " + results::fixed_text(ratio, 2) + " times",
                   static_cast<int>(r)});
  }
}

void comings_and_goings(const HistoryView& v, std::vector<Finding>& out) {
  std::vector<Finding> gone;
  for (std::size_t r = 0; r < v.sats.size(); ++r) {
    std::size_t first = v.days.size(), last = 0;
    for (std::size_t d = 0; d < v.days.size(); ++d) {
      if (!v.has(d, r)) continue;
      first = std::min(first, d);
      last = d;
    }
    if (first == v.days.size()) continue;
    if (v.days[first].day > v.first) {
      out.push_back({"appears", satellite(v, r) + ": first results on " + date_text(v.days[first].day),
                     static_cast<int>(r)});
    }
    if (v.days[last].day < v.last) {
      gone.push_back({"disappears", satellite(v, r) + ": last results on " + date_text(v.days[last].day),
                      static_cast<int>(r)});
    }
  }
  out.insert(out.end(), gone.begin(), gone.end());
}

void days_without_results(const HistoryView& v, std::vector<Finding>& out) {
  std::set<long long> failed;
  for (const FailedDay& f : v.failed) failed.insert(f.day);
  const auto report = [&](long long a, long long b) {
    const long long n = b - a + 1;
    out.push_back({"no results", span(a, b) + (n > 1 ? " (" + std::to_string(n) + " days)" : "")});
  };
  for (std::size_t d = 0; d + 1 < v.days.size(); ++d) {
    long long a = -1;
    for (long long day = v.days[d].day + 1; day < v.days[d + 1].day; ++day) {
      if (failed.count(day) == 0 && a < 0) a = day;
      if (failed.count(day) != 0 && a >= 0) {
        report(a, day - 1);
        a = -1;
      }
    }
    if (a >= 0) report(a, v.days[d + 1].day - 1);
  }
}

void run_errors(const HistoryView& v, std::vector<Finding>& out) {
  for (const FailedDay& f : v.failed) {
    const std::string verdict = f.file->verdict.empty() ? "" : ", verdict " + f.file->verdict;
    out.push_back({"run error", date_text(f.day) + ": " + f.file->path + " (return code " +
                                    std::to_string(f.file->returnCode) + verdict + ")"});
  }
}

}  // namespace

std::vector<Finding> find_findings(const HistoryView& v, const HistoryOptions& opt) {
  std::vector<Finding> out;
  if (v.days.empty()) return out;
  outliers(v, opt, out);
  rises(v, opt, out);
  comings_and_goings(v, out);
  days_without_results(v, out);
  run_errors(v, out);
  return out;
}

}  // namespace history
