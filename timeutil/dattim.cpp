#include "timeutil/dattim.h"

#include <array>
#include <string_view>

#include "platform/fortran_format.h"
#include "timeutil/clocks.h"

namespace timeutil {

void DATTIM(std::string& date, std::string& time) {
  constexpr std::string_view months = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";
  std::array<int, 8> v{};
  CLOCKS(v);
  // A month outside 1-12 cannot come from the clock; it is shown blank.
  const std::string_view month =
      v[1] >= 1 && v[1] <= 12 ? months.substr(3 * (v[1] - 1), 3) : std::string_view("   ");
  date = platform::Line().I(v[2], 2, 2).A("-").A(month).A("-").I(v[0] % 100, 2, 2).str();
  time = platform::Line().I(v[4], 2, 2).A(":").I(v[5], 2, 2).str();
}

}  // namespace timeutil
