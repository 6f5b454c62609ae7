// The title block of the program output.
#pragma once
#include <optional>
#include <string_view>

namespace framework {

// Records pgmName (8 characters), pgmDescr (80) and runTitle (the input
// file's "TITLE" with the run date and time in columns 65-80), then prints
// the title block to lfnOut with rule lines lineLen wide (79 when absent).
// A missing title or description draws a warning on lfnMsg.
void PRITIT(std::string_view pgmNam, std::string_view descr,
            std::optional<int> lineLen = std::nullopt);

}  // namespace framework
