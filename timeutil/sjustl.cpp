#include "timeutil/sjustl.h"

namespace timeutil {

void SJUSTL(std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first != std::string::npos) text.erase(0, first);
}

}  // namespace timeutil
