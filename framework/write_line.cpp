#include "framework/write_line.h"

#include "framework/m_msglog.h"
#include "platform/units.h"

namespace framework {

void write_line(int lfn, std::string_view text) {
  platform::write_record(lfn, text);
  log_message_line(lfn, text);
}

void write_lines(int lfn, std::initializer_list<std::string_view> lines) {
  for (std::string_view l : lines) write_line(lfn, l);
}

}  // namespace framework
