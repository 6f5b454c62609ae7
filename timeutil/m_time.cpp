#include "timeutil/m_time.h"

#include <algorithm>

namespace timeutil {

static_assert(sizeof(t_time) == sizeof(t_timint));

bool ISININT(double epoch, const t_timint& window) {
  constexpr double tolerance = 1.0 / 144.0;
  return window.t[0] - tolerance <= epoch && epoch <= window.t[1] + tolerance;
}

t_timint ADDTIMINT(const t_timint& a, const t_timint& b) {
  t_timint c;
  c.t = {std::min(a.t[0], b.t[0]), std::max(a.t[1], b.t[1])};
  return c;
}

}  // namespace timeutil
