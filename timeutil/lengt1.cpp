#include "timeutil/lengt1.h"

namespace timeutil {

int LENGT1(std::string_view text) {
  const std::size_t last = text.find_last_not_of(std::string_view(" \0", 2));
  return last == std::string_view::npos ? 1 : static_cast<int>(last + 1);
}

}  // namespace timeutil
