// The values of the history view: one per day and satellite, from the
// results files that can be used.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "history/results_file.h"

namespace history {

// Flags of a day's satellite.
constexpr unsigned char kHas = 1;        // an RMS value
constexpr unsigned char kSplit = 2;      // split by the run
constexpr unsigned char kEclipsing = 4;  // eclipsing

// A day with values: the protocol that counts and its file.
struct DayEntry {
  long long day = 0;  // MJD
  const ResultsFile* file = nullptr;
  const ProtocolValues* protocol = nullptr;
};

// A day whose run ended with an error.
struct FailedDay {
  long long day = 0;
  const ResultsFile* file = nullptr;
};

struct HistoryView {
  long long first = 0, last = -1;  // the span: first and last day with values (MJD)
  std::vector<int> sats;           // the rows: every satellite, by number
  std::vector<DayEntry> days;      // days with values, ascending
  std::vector<double> rms;         // days x sats (metres)
  std::vector<unsigned char> flags;
  std::vector<std::string> sameDay;  // one line per day given by several protocols
  std::vector<FailedDay> failed;     // ascending

  std::size_t at(std::size_t d, std::size_t r) const { return d * sats.size() + r; }
  bool has(std::size_t d, std::size_t r) const { return (flags[at(d, r)] & kHas) != 0; }
  // Row of satellite sat; -1 when it has none.
  int row(int sat) const;
  // The system (1-6) of row r; 0 outside the six systems.
  int system(std::size_t r) const;
};

// Builds the view from the files read. A file of a failed run (verdict
// "error", or a return code other than 0 and 1 without a verdict) is left
// out (its reason set) and its days noted; so is a file without a protocol
// that has an arc window within the years 1-9999. Of two protocols of one
// day the one of the later run counts (run_start; of one run, the later in
// its list); the report line says which.
HistoryView build_view(std::vector<ResultsFile>& files);

// The median RMS of each system (index 1-6) on each day of the view; 0
// where the system has no value that day.
std::vector<std::array<float, kSystems + 1>> daily_medians(const HistoryView& v);

// The median of values (reordered); 0 for none.
double median(std::vector<float>& values);

// "YYYY-MM-DD" of a day (MJD).
std::string date_text(long long mjd);

// Name of system 1-6 ("GPS"), or "other"; its letter ("G"), or "".
std::string system_name(int sys);
std::string system_letter(int sys);

// System (1-6) of a satellite number; 0 outside 0-599.
int system_of(int sat);

}  // namespace history
