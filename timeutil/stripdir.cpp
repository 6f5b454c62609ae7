#include "timeutil/stripdir.h"

#include "platform/fixed_text.h"

namespace timeutil {

void STRIPDIR(std::string& name) {
  if (platform::is_blank(name)) return;
  const std::size_t s = name.find_last_of("/\\");
  if (s != std::string::npos) name.erase(0, s + 1);
}

}  // namespace timeutil
