// What the history view keeps of one FITCHK results file: only the numbers
// it shows.
#pragma once
#include <array>
#include <string>
#include <vector>

namespace history {

constexpr int kSystems = 6;  // GPS, GLONASS, Galileo, SBAS, Compass, QZSS

// One satellite of a protocol.
struct SatValue {
  int number = 0;
  double rms = 0.0;  // metres
  bool hasRms = false;
  bool split = false;      // given an arc-split record by the run
  bool eclipsing = false;  // in the protocol's list of eclipsing satellites
};

// One protocol of a run.
struct ProtocolValues {
  std::string file;                    // as the run listed it
  std::array<double, 2> window{};      // arc window rounded to whole days (MJD)
  std::array<bool, 2> hasWindow{};     // false: null or missing in the file
  std::vector<SatValue> sats;          // in table order
  std::vector<int> eclipsing;
  double middle() const { return (window[0] + window[1]) / 2; }
  // The day (MJD) the protocol stands for: that of its arc's middle.
  long long day() const;
};

// One results file as read.
struct ResultsFile {
  std::string path;       // as given, or the folder joined with the name
  std::string reason;     // why it is left out; empty: it is used
  std::string version;
  std::string runStart;   // ISO 8601 with offset
  long long returnCode = -1;
  std::string verdict;
  std::vector<ProtocolValues> protocols;
  // Editing level (m) of each system that the run edited; 0: none.
  std::array<double, kSystems> level{};
  // A run that ended with an error: its day (when its protocols tell it) is
  // reported; its values are not used unless only the tolerance was exceeded.
  bool endedWithError() const { return returnCode != 0 && returnCode != 1; }
};

}  // namespace history
