#include "input/keyword_line.h"

#include <vector>

#include "input/d_inpkey.h"
#include "platform/field_read.h"
#include "platform/fixed_text.h"

namespace input {

bool decode_keyword_line(const std::string& line, std::string& name, int& count) {
  const std::vector<platform::FreeItem> items = platform::free_items(line, 2);
  if (items.size() < 2 || items[1].null) return false;
  name = items[0].text;
  return platform::parse_int_item(items[1].text, count);
}

std::string line_value(const std::string& line, std::size_t item, bool rawFromQuote,
                       std::size_t limit) {
  int pos = 0;
  if (CHRCOUNT("\"", line, pos) >= 3) {
    return rawFromQuote ? line.substr(static_cast<std::size_t>(pos) - 1) : line;
  }
  const std::vector<platform::FreeItem> items = platform::free_items(line, item + 1);
  return items.size() > item ? platform::cut(items[item].text, limit) : std::string();
}

}  // namespace input
