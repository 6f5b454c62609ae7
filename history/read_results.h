// Reading one FITCHK results file (JSONFIL) for the history view.
#pragma once
#include <string_view>

#include "history/results_file.h"

namespace history {

// Fills file (its path already set) from the JSON text: the run's version,
// start, return code and verdict, every protocol's file, rounded arc window,
// satellites with RMS and split flag, and eclipsing satellites, and the
// editing level of each edited system. Only these values are kept; the
// text is read once, in place. Sets file.reason when the file cannot be
// used: damaged JSON (with line and column), not a FITCHK results file, a
// layout of another version, a value of the wrong type. A run that ended
// with an error is read all the same; the caller decides.
void read_results(std::string_view text, ResultsFile& file);

// The major version of the results layout this reader knows ("5" of 5.2).
int known_layout();

}  // namespace history
