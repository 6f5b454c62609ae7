#include <string>

#include "platform/field_read.h"
#include "platform/fixed_text.h"
#include "satcrux/d_satcrx.h"

namespace satcrux {

std::string record_end_reason(std::string_view line) {
  int satNum = 0;
  int kind = 0;
  if (!platform::read_int_field(platform::col(line, 1, 5), satNum)) {
    return "columns 1-5 (satellite number) hold no integer";
  }
  if (!platform::read_int_field(platform::col(line, 6, 15), kind)) {
    return "columns 6-15 (first kind code) hold no integer";
  }
  if (!platform::read_int_field(platform::col(line, 16, 25), kind)) {
    return "columns 16-25 (second kind code) hold no integer";
  }
  if (satNum != 0) return "";
  return platform::is_blank(platform::col(line, 1, 5)) ? "columns 1-5 (satellite number) are blank"
                                                       : "its satellite number is 0";
}

}  // namespace satcrux
