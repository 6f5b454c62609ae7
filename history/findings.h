// What the history view finds in the values: outliers day after day,
// rising RMS, satellites that appear or disappear, days without results,
// runs that ended with an error.
#pragma once
#include <string>
#include <vector>

#include "history/history_options.h"
#include "history/history_view.h"

namespace history {

struct Finding {
  std::string kind;  // "outlier", "rise", "appears", "disappears", "no results", "run error"
  std::string text;  // the rest of its line
  int row = -1;      // the satellite's row; -1 for a day
  std::string line() const { return kind + ": " + text; }
};

// The findings in the order of the kinds above, each kind by satellite
// number or by day. The level of a system on a day is the editing level of
// that day's run where it has one, else opt.outlierFactor times the
// system's median RMS of the day (when at least 3 of its satellites have a
// value).
std::vector<Finding> find_findings(const HistoryView& v, const HistoryOptions& opt);

}  // namespace history
