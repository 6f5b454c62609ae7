// Clean-up of a keyword value after it is read.
#pragma once
#include <string>

namespace input {

// Hash enclosure (#text# becomes text), then the hash escapes inside double
// quotes; the result has no trailing blanks.
void clean_value(std::string& v);

}  // namespace input
