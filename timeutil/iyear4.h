// Widening of two-digit years.
#pragma once

namespace timeutil {

// 0-59 -> 2000-2059, 60-99 -> 1960-1999; years of 100 or more unchanged.
int IYEAR4(int year);

}  // namespace timeutil
