// fitchk --check: what is wrong with an input file, found before the run.
#pragma once
#include <string>

namespace input_check {

// Reads the input file inpFil as a run would, and the files it names as far
// as needed, without writing, creating, locking or deleting anything.
// report receives the findings ("FILE:LINE: level: text") and the counts.
// Returns the exit status: 0 no error, 1 errors, 2 the file cannot be read.
int CHECK_INPUT(const std::string& inpFil, std::string& report);

}  // namespace input_check
