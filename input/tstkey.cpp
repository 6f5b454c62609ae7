#include "input/d_inpkey.h"
#include "platform/fixed_text.h"

namespace input {

bool TSTKEY(std::string_view keyWord) {
  if (inpKey.status != 2) return false;
  for (const framework::t_key& k : inpKey.keys) {
    if (platform::same_text(k.name, keyWord)) return true;
  }
  return false;
}

}  // namespace input
