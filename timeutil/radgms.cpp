#include "timeutil/radgms.h"

#include <cmath>

#include "framework/d_const.h"
#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "platform/fortran_format.h"
#include "timeutil/l_basfun.h"

namespace timeutil {
namespace {

[[noreturn]] void illegal_type(int k) {
  framework::write_lines(framework::m_tolk.lfnMsg,
                         {"", " *** SR RADGMS: ILLEGAL TRANSFORMATION TYPE",
                          platform::Line().X(16).A("TRANS. TYPE:").I(k, 2).str(), ""});
  framework::EXITRC(2);
}

double pi() {
  return framework::d_const.piConst != 0.0 ? framework::d_const.piConst : 4.0 * std::atan(1.0);
}

// The value in the unit of the type's smallest part, guard added.
double scaled(int k, double value, double eps) {
  switch (k) {
    case 0: return std::fabs(value) * 43200.0 / pi() + eps;
    case 1: return std::fabs(value) * 648000.0 / pi() + eps;
    case 2: return std::fabs(value) * 2000000.0 / pi() + eps;
    case 3: return DMOD(value, 1.0) * 86400.0 + eps;
    default: illegal_type(k);
  }
}

}  // namespace

void RADGMS(int type, double value, char& sign, int& whole, int& minutes, double& seconds) {
  const int k = type < 10 ? type : type % 10;
  const double eps = type < 10 ? 1.0e-6 : 1.0e-14;
  const double v = scaled(k, value, eps);
  const double base = k == 2 ? 100.0 : 60.0;

  // The guard lifts a value just below a full minute or unit over it before
  // the cuts; it is taken off the seconds afterwards.
  whole = to_int(std::trunc(v / (base * base)));
  const double r = v - whole * base * base;
  minutes = to_int(std::trunc(r / base));
  seconds = r - minutes * base - eps;
  if (seconds < 0.0) seconds = 0.0;
  if (k != 3) sign = value < 0.0 ? '-' : ' ';
}

}  // namespace timeutil
