// fitchk --history: the orbit quality over days, weeks and years from the
// results files of many runs.
#pragma once
#include <string>
#include <vector>

namespace history {

// Runs the history view for the arguments after "--history". What it
// shows goes to report (standard output), a bad command line to errors
// (standard error). Returns the exit status: 0 results shown and every file
// asked for written, 1 no results file could be used or a file asked for
// could not be read or written, 2 a bad command line.
int HISTORY(const std::vector<std::string>& args, std::string& report, std::string& errors);

}  // namespace history
