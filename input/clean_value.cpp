#include <string>

#include "input/clean_value.h"
#include "platform/fixed_text.h"

namespace input {

// Hash enclosure (#text# -> text), then hash escapes inside double quotes.
void clean_value(std::string& v) {
  std::size_t len = platform::len_trim(v);
  if (len >= 2 && v[0] == '#' && v[len - 1] == '#') {
    v = v.substr(1, len - 2);
    len = platform::len_trim(v);
  }
  if (len < 4) return;
  // 1-based positions as in the rule: character p is v[p - 1].
  for (std::size_t p = 1; p + 3 <= len;) {
    std::size_t next = p + 1;
    if (v[p - 1] == '"' && v[p] == '#') {
      for (std::size_t j = p + 2; j <= len - 1; ++j) {
        if (v[j - 1] == '"') break;
        if (v[j - 1] == '#' && v[j] == '"') {
          v = v.substr(0, p) + v.substr(p + 1, j - p - 2) + v.substr(j, len - j);
          len = platform::len_trim(v);
          next = j - 1;
          break;
        }
      }
    }
    p = next;
  }
  v = std::string(platform::rtrim(v));
}

}  // namespace input
