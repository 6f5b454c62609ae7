#include "timeutil/clocks.h"

#include "platform/clock.h"

namespace timeutil {

void CLOCKS(std::array<int, 8>& values) {
  const platform::LocalTime t = platform::local_now();
  values = {t.year, t.month, t.day, t.utc_offset_min, t.hour, t.minute, t.second, t.millisecond};
}

}  // namespace timeutil
