#include "framework/write_line.h"

#include "framework/m_msglog.h"
#include "framework/m_tolk.h"
#include "platform/units.h"

namespace framework {

void write_line(int lfn, std::string_view text) {
  platform::write_record(lfn, text);
  if (!log_message_line(lfn, text)) return;
  // A message is seen when it is written: the output up to it, then itself.
  if (m_tolk.lfnOut != lfn) platform::flush_unit(m_tolk.lfnOut);
  platform::flush_unit(lfn);
}

void write_lines(int lfn, std::initializer_list<std::string_view> lines) {
  for (std::string_view l : lines) write_line(lfn, l);
}

}  // namespace framework
