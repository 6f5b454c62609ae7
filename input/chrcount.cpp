#include "input/d_inpkey.h"

namespace input {

int CHRCOUNT(std::string_view c, std::string_view s, int& pos) {
  pos = 0;
  if (c.empty()) return 0;
  int count = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != c[0]) continue;
    if (count++ == 0) pos = static_cast<int>(i) + 1;
  }
  return count;
}

}  // namespace input
