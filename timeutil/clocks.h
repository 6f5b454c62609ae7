// Reading the local wall clock.
#pragma once
#include <array>

namespace timeutil {

// values: year, month, day, difference from UTC in minutes, hour, minute,
// second, millisecond of the local clock.
void CLOCKS(std::array<int, 8>& values);

}  // namespace timeutil
