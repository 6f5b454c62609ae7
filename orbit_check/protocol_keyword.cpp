#include "orbit_check/protocol_keyword.h"

#include <string>
#include <vector>

#include "input/d_inpkey.h"
#include "platform/fixed_text.h"

namespace orbit_check {

const char* protocol_keyword(bool quiet) {
  if (quiet && !input::TSTKEY("RADIO_1")) return nullptr;
  std::vector<std::string> value;
  int irc = 0;
  input::READKEYS("RADIO_1", value, irc);
  const std::string radio = value.empty() ? std::string() : value[0];
  return platform::same_text(radio, "1")   ? "JOBOUT"
         : platform::same_text(radio, "0") ? "OUTPUT"
                                           : nullptr;
}

}  // namespace orbit_check
