#include "input/d_inpkey.h"
#include "platform/fixed_text.h"
#include "platform/process.h"

namespace input {

std::string MYGETARG() {
  std::string joined;
  bool first = true;
  for (const std::string& a : platform::args()) {
    if (!first) joined += ' ';
    joined += platform::cut(a, 255);
    first = false;
  }
  const std::size_t start = joined.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : platform::cut(joined.substr(start), 255);
}

}  // namespace input
