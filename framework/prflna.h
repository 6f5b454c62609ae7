// The table of input and output file names of the program output.
#pragma once
#include <optional>

namespace framework {

// Prints to lfnOut, for every keyword "DESCR_" + F of the input file, its
// description and the first value of F (" ---" when blank): files of general
// use first in a fixed order, then other files in input-file order, then
// result, plot, system-output, auxiliary and scratch files in a fixed order.
// Rule lines lineLen wide (79 when absent).
void PRFLNA(std::optional<int> lineLen = std::nullopt);

}  // namespace framework
