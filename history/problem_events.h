// The events of the satellite problem file for the history view.
#pragma once
#include <string>
#include <vector>

namespace history {

struct ProblemEvent {
  int sat = 0;
  long long day = 0;  // MJD of the day it falls on
  enum class Kind { ArcSplit, Manoeuvre, BadData } kind = Kind::ArcSplit;
};

// Reads the satellite problem file name with the problem-file module: its
// arc splits, manoeuvres and bad observation intervals on the day they
// start (an interval begun before first on first), those from first to
// last kept. Returns
// an empty text, or why the file cannot be read (nothing is written then;
// the module's messages are not shown).
std::string read_problem_events(const std::string& name, long long first, long long last,
                                std::vector<ProblemEvent>& events);

// "arc split", "manoeuvre" or "bad data".
std::string kind_text(ProblemEvent::Kind kind);

}  // namespace history
