#include "framework/m_msglog.h"

#include "framework/m_tolk.h"
#include "platform/fixed_text.h"

namespace framework {

MsgLog m_msglog;

bool log_message_line(int lfn, std::string_view text) {
  const std::string_view line = platform::rtrim(text);
  if (lfn != m_tolk.lfnMsg) {
    // Errors of the exit and of opens are told on the console alone.
    if (lfn == 6 && line.substr(0, 5) == " *** ") ++m_msglog.errors;
    return false;
  }
  // The message unit may be the program output: only message blocks count.
  if (!m_msglog.inMessage) {
    m_msglog.inMessage = line.substr(0, 5) == " *** " || line.substr(0, 5) == " ### ";
    if (m_msglog.inMessage) m_msglog.messages.emplace_back();
    if (line.substr(0, 5) == " *** ") ++m_msglog.errors;
  }
  if (!m_msglog.inMessage) return false;
  if (line.empty()) {
    m_msglog.inMessage = false;
    return true;
  }
  m_msglog.messages.back().emplace_back(line);
  return false;
}

int with_logged_errors(int ircode) {
  return m_msglog.errors > 0 && (ircode == 0 || ircode == 1) ? 2 : ircode;
}

}  // namespace framework
