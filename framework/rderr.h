// Reporting a read that failed with an error (not an end of file).
#pragma once
#include <string_view>

namespace framework {

// Silent when unit lfn had no failed read; else writes the read-failed
// message of caller for the file to lfnReport (0: unit 6) and ends the run
// with EXITRC(2).
void RDERR(int lfnReport, int lfn, std::string_view fileName, std::string_view caller);

// The message of RDERR for a read that failed with status iostat (not 0),
// made without the unit lfn that the message names; then EXITRC(2).
[[noreturn]] void read_failed(int lfnReport, int lfn, int iostat, std::string_view fileName,
                              std::string_view caller);

}  // namespace framework
