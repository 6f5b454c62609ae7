// Local calendar clock and process CPU time; tests may fix both.
#pragma once
#include <optional>

namespace platform {

struct LocalTime {
  int year = 0, month = 0, day = 0;
  int utc_offset_min = 0;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

LocalTime local_now();
double cpu_seconds();

// Tests: a fixed clock (nullopt restores the real one).
void set_fake_clock(std::optional<LocalTime> t, std::optional<double> cpu = std::nullopt);

}  // namespace platform
