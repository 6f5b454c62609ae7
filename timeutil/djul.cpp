#include "timeutil/djul.h"

#include <cmath>

#include "timeutil/l_basfun.h"

namespace timeutil {

double DJUL(int year, int month, double day) {
  long long y = year;
  long long m = month;
  if (m <= 2) {
    y -= 1;
    m += 12;
  }
  const long long a = y / 100;
  const long long b = 2 - a + a / 4;
  const double yearDays = 365.25 * static_cast<double>(y);
  // The month term is a single-precision product, as the formula was fixed.
  const float monthProduct = 30.6001f * static_cast<float>(m + 1);
  const double monthDays = std::trunc(monthProduct);
  return (yearDays - DMOD(yearDays, 1.0)) + monthDays + day + static_cast<double>(b) -
         679006.0;
}

}  // namespace timeutil
