// The history view as a table for programs (CSV).
#pragma once
#include <string>

#include "history/history_view.h"

namespace history {

// The header line "date,mjd,protocol,satellite,system,rms_m,split,eclipsing"
// and one row per day and satellite with a value, by day and satellite
// number: the date and MJD of the arc's middle, the protocol as the run
// listed it (quoted where it holds a comma, quote or line end), the
// satellite number, its system letter, the RMS (m) as the results hold it,
// split and eclipsing as 0/1.
std::string history_table(const HistoryView& v);

}  // namespace history
