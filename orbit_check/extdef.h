// EXTDEF: reads the arc window, the final-iteration RMS table and the
// eclipsing satellites out of one TRJFIT protocol.
#pragma once
#include <array>
#include <string_view>

#include "orbit_check/protocol_extract.h"

namespace orbit_check {

// State kept from one call to the next.
struct ExtdefState {
  int finalIter = 0;  // final iteration number of the last protocol that had one
};
extern ExtdefState s_extdef;

// How much of the satellite table one call read.
struct TableCount {
  int rows = 0;   // rows taken into the extract from the last table whose heading
                  // matched (0: none matched, or the file ended right after it)
  int count = 0;  // satellite count read, as kept (0: not read)
  bool eclipses = false;  // the heading of the eclipsing satellites was reached
  bool window = false;    // the time window of the arc asked for was read
};

// Reads protocol fileName (opened "OLD", read-only, on lfnWork, closed before it
// returns) for arc arcNum: window (in/out, unchanged when the arc is not
// found), satellite count and table, eclipsing count, satellites and longest
// shadow passages (s), arc count. Outputs that the reader does not reach keep
// their values. irc is set to 1 when the file ends before the reader is done
// or a field it needs is not a number (warning on lfnMsg); otherwise it is
// left as it was. A satellite count above kMaxSat, or an eclipsing count above
// kMaxEcl, keeps the first entries (warning); the count fields cannot state more.
// With table, also how much of the satellite table was read.
// An open failure ends the run.
void EXTDEF(std::string_view fileName, int arcNum, std::array<double, 2>& window, int& nSat,
            std::array<int, kMaxSat>& satNum, std::array<double, kMaxSat>& rms, int& nEcl,
            std::array<int, kMaxEcl>& eclSat, std::array<int, kMaxEcl>& longShadow, int& nArc,
            int& irc, TableCount* table = nullptr);

}  // namespace orbit_check
