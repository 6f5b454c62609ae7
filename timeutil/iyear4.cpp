#include "timeutil/iyear4.h"

namespace timeutil {

int IYEAR4(int year) {
  constexpr int pivot = 1960;
  constexpr int century = pivot / 100 * 100;
  constexpr int threshold = pivot % 100;
  if (year < threshold) year += century + 100;
  if (year < 100) year += century;
  return year;
}

}  // namespace timeutil
