// Reporting a read that failed with an error (not an end of file).
#pragma once
#include <string_view>

namespace framework {

// Silent when unit lfn had no failed read; else writes the read-failed
// message of caller for the file to lfnReport (0: unit 6) and ends the run
// with EXITRC(2).
void RDERR(int lfnReport, int lfn, std::string_view fileName, std::string_view caller);

}  // namespace framework
