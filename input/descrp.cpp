#include "input/descrp.h"

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "input/d_inpkey.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"

namespace input {

namespace {

// The first value of the first description keyword, or nullptr.
const std::string* findDescription(std::string_view keyWord) {
  const std::string msgKey = "MSG_" + std::string(keyWord);
  const std::string descrKey = "DESCR_" + std::string(keyWord);
  for (const framework::t_key& key : inpKey.keys) {
    if (platform::same_text(key.name, msgKey) || platform::same_text(key.name, descrKey)) {
      static const std::string blank;
      return key.value.empty() ? &blank : &key.value[0];
    }
  }
  return nullptr;
}

[[noreturn]] void illegalLength(std::string_view keyWord, int maxLen) {
  const int lfn = framework::m_tolk.lfnMsg;
  framework::write_line(lfn, "");
  framework::write_line(lfn, " *** SR DESCRP: Illegal length of description string: " +
                                 platform::fmt_i(maxLen, 5));
  framework::write_line(lfn, "                Keyword:  " + std::string(platform::rtrim(keyWord)));
  framework::write_line(lfn, "");
  framework::EXITRC(2);
}

}  // namespace

void DESCRP(std::string_view keyWord, int maxLen, std::string& text) {
  text.clear();
  if (inpKey.status < 2) return;
  const std::string* value = findDescription(keyWord);
  if (!value) return;
  const std::string_view v = platform::rtrim(*value);
  if (static_cast<long long>(v.size()) <= maxLen) {
    text = std::string(v);
  } else if (maxLen < 1) {
    illegalLength(keyWord, maxLen);
  } else if (maxLen <= 3) {
    text = std::string(v.substr(0, static_cast<std::size_t>(maxLen)));
  } else {
    text = std::string(v.substr(0, static_cast<std::size_t>(maxLen - 3))) + " ..";
  }
}

}  // namespace input
