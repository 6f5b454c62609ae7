// Fatal messages shared by ST2TIM and TIMST2, and their common constants.
#pragma once
#include <cstddef>
#include <string_view>

namespace timeutil {

constexpr double kOpenEnd = 1.0e20;  // the open end of a time window
constexpr int kMaxDigits = 95;       // the layout holds the digit count in two digits

// " *** SR <routine>: The <what> string is too short" + end, the current and
// required lengths; then EXITRC(2).
[[noreturn]] void string_too_short(std::string_view routine, std::string_view what, char end,
                                   std::size_t current, long long required);

// " *** SR <routine>: Unknown format identified:" and the type; then EXITRC(2).
[[noreturn]] void unknown_time_format(std::string_view routine, int type);

}  // namespace timeutil
