// Reporting output that did not reach its file.
#pragma once
#include <string_view>

namespace framework {

// Silent when iostat is 0; else writes the write-failed message to
// lfnReport (0: unit 6) and ends the run with EXITRC(2).
void WRTERR(int lfnReport, int lfn, int iostat, std::string_view fileName,
            std::string_view caller);

// The message of WRTERR without the end of the run (silent when iostat is 0).
void report_write_failure(int lfnReport, int lfn, int iostat, std::string_view fileName,
                          std::string_view caller);

// Closes unit lfn and reports a failed write or close through WRTERR.
void CLOSE_CHECKED(int lfn, std::string_view fileName, std::string_view caller);

}  // namespace framework
