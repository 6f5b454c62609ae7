// Time windows and epoch records.
#pragma once
#include <array>

namespace timeutil {

// A time window: t[0] start, t[1] end (MJD).
struct t_timint {
  std::array<double, 2> t{0.0, 0.0};
};

// An epoch as whole MJD and fraction of the day; same size as t_timint.
struct t_time {
  double day = 0.0;
  double frac = 0.0;
};

// True when epoch lies in window, widened by 10 minutes on both sides.
bool ISININT(double epoch, const t_timint& window);

// The smallest window that covers a and b.
t_timint ADDTIMINT(const t_timint& a, const t_timint& b);

}  // namespace timeutil
