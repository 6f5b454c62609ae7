// Synthetic FITCHK results files (JSONFIL) of a daily processing chain, one
// per day, written by the run's own results writer from made-up protocol
// extracts: a constellation with each system's typical RMS, day-to-day
// noise, and planted faults for the history view.
#pragma once
#include <string>
#include <vector>

namespace bench {

struct ResultsPlan {
  unsigned seed = 1;
  long long firstDay = 56293;  // MJD of the first arc's middle (2013-01-01)
  int days = 365;
  std::vector<int> sats;       // empty: modern_satellites()
  // A satellite whose RMS rises from riseFrom (day index) on, linearly to
  // riseFactor times its normal RMS at the last day.
  int riseSat = 0;
  int riseFrom = 0;
  double riseFactor = 3.0;
  // A satellite 8 times its normal RMS on the given day indices.
  int outlierSat = 0;
  std::vector<int> outlierDays;
  // A satellite first on day index appearFrom; one last on day index goneAfter.
  int appearSat = 0;
  int appearFrom = 0;
  int goneSat = 0;
  int goneAfter = 0;
  std::vector<int> gapDays;        // no results file
  std::vector<int> failedDays;     // a run that ended with an error (no protocol)
  std::vector<int> duplicateDays;  // a second, later run of the day (file name with "B")
  std::vector<int> damagedDays;    // the results file cut in the middle
};

// Plants the faults that the history view must show into a plan of at
// least 30 days: GPS 12 drifting upward over the last 60 days (to 3 times
// its RMS), GPS 7 an outlier on 5 of the last 7 days, a gap of 5 days in the
// middle, a failed run at a third, a duplicated day at a quarter, a damaged
// file at a fifth of the span, Galileo 228 appearing at three quarters and
// GLONASS 124 gone after the middle. A shorter plan gets the outlier only.
void plant_faults(ResultsPlan& plan);

// Writes the files of plan into folder (FITyyddd.JSON, the year and day of
// year of the arc's middle); returns their names, in day order.
std::vector<std::string> write_results_set(const std::string& folder, const ResultsPlan& plan);

// The RMS (m) of satellite sat on day index day that a reader of the set
// should take: that of the later run of a duplicated day; 0 when the day
// has no usable value for it (a gap, a failed run, a damaged file).
double planned_rms(const ResultsPlan& plan, int sat, int day);

}  // namespace bench
