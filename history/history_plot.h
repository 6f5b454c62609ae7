// The picture of the history view (SVG): a satellite x day grid of the
// whole span, the median RMS of each system over time, and the findings.
#pragma once
#include <string>
#include <vector>

#include "history/findings.h"
#include "history/history_view.h"
#include "history/problem_events.h"

namespace history {

// How many days one column of the grid holds.
enum class Columns { Day, Week, Month, Year };

// One column per day up to 400 days, per week (Monday to Sunday) up to 400
// weeks, per month up to 400 months, else per year.
Columns columns_for(long long days);

// What the picture tells besides the view.
struct PlotFacts {
  int filesRead = 0;
  int filesLeftOut = 0;
  std::string problemFile;  // marked events from it; empty: none
};

// The SVG text. Same input, same bytes.
std::string history_plot(const HistoryView& v, const std::vector<Finding>& findings,
                         const std::vector<ProblemEvent>& events, const PlotFacts& facts);

}  // namespace history
