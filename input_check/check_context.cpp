#include "input_check/check_parts.h"

#include <cstdio>

#include "platform/file_identity.h"
#include "platform/fixed_text.h"

namespace input_check {

int CheckContext::line_of(std::string_view name) const {
  for (const ScannedKey& k : scan.keys) {
    if (platform::same_text(platform::cut(k.name, 32), name)) return k.line;
  }
  return 0;
}

int CheckContext::value_line(std::string_view name, std::size_t k) const {
  for (const ScannedKey& key : scan.keys) {
    if (!platform::same_text(platform::cut(key.name, 32), name)) continue;
    if (key.count <= 1 || k >= key.valueLines.size()) return key.line;
    return key.valueLines[k];
  }
  return 0;
}

bool CheckContext::is_refused(std::string_view keyWord) const {
  for (const input::NameFault& f : refused) {
    if (platform::same_text(f.keyWord, keyWord)) return true;
  }
  return false;
}

const char* not_read_kind(std::string_view name) {
  return platform::is_fifo(name) ? "a FIFO" : platform::is_device(name) ? "a device" : nullptr;
}

std::string number_text(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return buf;
}

}  // namespace input_check
