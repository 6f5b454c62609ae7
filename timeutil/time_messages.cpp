#include "timeutil/time_messages.h"

#include <string>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "platform/fortran_format.h"

namespace timeutil {

void string_too_short(std::string_view routine, std::string_view what, char end,
                      std::size_t current, long long required) {
  const std::string indent(16, ' ');
  framework::write_lines(
      framework::m_tolk.lfnMsg,
      {"",
       " *** SR " + std::string(routine) + ": The " + std::string(what) + " string is too short" + end,
       platform::Line().A(indent).A("Current  length of the string: ").I(current, 4).str(),
       platform::Line().A(indent).A("Required length of the string: ").I(required, 4).str(), ""});
  framework::EXITRC(2);
}

void unknown_time_format(std::string_view routine, int type) {
  framework::write_lines(
      framework::m_tolk.lfnMsg,
      {"",
       platform::Line().A(" *** SR " + std::string(routine) + ": Unknown format identified: ")
           .I(type, 4).str(),
       std::string(16, ' ') + "(only values between 1 and 3 are supported)", ""});
  framework::EXITRC(2);
}

}  // namespace timeutil
