// Used length of text.
#pragma once
#include <string_view>

namespace timeutil {

// 1-based position of the last character that is neither a blank nor NUL;
// 1 when there is none.
int LENGT1(std::string_view text);

}  // namespace timeutil
