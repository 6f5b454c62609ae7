#include "timeutil/l_basfun.h"

#include <cmath>
#include <limits>

namespace timeutil {

double DMOD(double x, double y) { return x - std::trunc(x / y) * y; }

int to_int(double x) {
  constexpr double lo = std::numeric_limits<int>::min();
  constexpr double hi = std::numeric_limits<int>::max();
  if (std::isnan(x)) return 0;
  if (x <= lo) return std::numeric_limits<int>::min();
  if (x >= hi) return std::numeric_limits<int>::max();
  return static_cast<int>(x);
}

int nint(double x) { return to_int(std::round(x)); }

}  // namespace timeutil
