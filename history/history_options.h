// The command line of the history view, fitchk --history [OPTIONS] FILE...
#pragma once
#include <string>
#include <vector>

namespace history {

struct HistoryOptions {
  std::vector<std::string> inputs;  // results files and folders, as given
  std::string plot;                 // --plot: SVG picture; empty: none
  std::string table;                // --table: CSV table; empty: none
  std::string problemFile;          // --problem-file: satellite problem file
  int outlierDays = 5;              // an outlier on at least this many ...
  int outlierWindow = 7;            // ... of the last this many days
  double outlierFactor = 3.0;       // times the system's median of the day
  double riseFactor = 1.5;          // recent median against the one before
  int riseRecent = 30;              // days of the recent median
  int riseBefore = 90;              // days before them
  bool help = false;
};

// Reads the arguments after "--history". Returns an empty text, or what is
// wrong with them (one line, without the program's name).
std::string parse_history_options(const std::vector<std::string>& args, HistoryOptions& opt);

// The text of fitchk --history --help.
const char* history_usage();

}  // namespace history
