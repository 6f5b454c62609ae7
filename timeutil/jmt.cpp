#include "timeutil/jmt.h"

#include <cmath>

#include "timeutil/l_basfun.h"

namespace timeutil {

void JMT(double mjd, int& year, int& month, double& day) {
  // Divisions are multiplications by stored reciprocals, as the formulas were fixed.
  constexpr double perCentury = 1.0 / 36524.25;
  constexpr double perYear = 1.0 / 365.25;
  constexpr double perMonth = 1.0 / 30.6001;

  const double f = DMOD(mjd, 1.0);
  const double z = (mjd + 1.0 - f) + 2400000.0;
  const double alpha = std::trunc((z - 1867216.25) * perCentury);
  const double b = z + 1.0 + alpha - std::trunc(alpha / 4.0) - 1720995.0;
  const double c = std::trunc((b - 122.1) * perYear);
  const double d = 365.25 * c - DMOD(365.25 * c, 1.0);
  const double e = std::trunc((b - d) * perMonth);
  // Rounding absorbs the floating-point noise of the integer terms.
  day = std::round(b - d - std::trunc(30.6001 * e)) + f;
  month = to_int(e > 13.0 ? e - 13.0 : e - 1.0);
  year = to_int(month <= 2 ? c + 1.0 : c);
}

}  // namespace timeutil
