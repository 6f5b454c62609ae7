#include <new>

#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/write_line.h"
#include "input/d_inpkey.h"
#include "platform/fixed_text.h"

namespace input {
namespace {

// keyValue resized to n blank elements; a failed allocation ends the run.
void allocate(std::vector<std::string>& keyValue, std::size_t n) {
  keyValue.clear();
  int irc = 0;
  try {
    keyValue.resize(n);
  } catch (const std::bad_alloc&) {
    irc = 1;
  }
  framework::ALCERR(irc, "keyValue", {static_cast<long long>(n)}, "readKeys");
}

void not_found(std::string_view keyWord) {
  framework::write_lines(framework::m_tolk.lfnMsg,
                         {"",
                          " *** SR READKEYS: Keyword \"" + std::string(platform::rtrim(keyWord)) +
                              "\" not found.",
                          std::string(18, ' ') + "Input file name:  " +
                              std::string(platform::rtrim(inpKey.inpFil)),
                          ""});
}

}  // namespace

void READKEYS(std::string_view keyWord, std::vector<std::string>& keyValue, int& irc) {
  allocate(keyValue, 1);
  irc = 1;
  if (inpKey.status != 2) return;
  if (platform::is_blank(keyWord)) {
    keyValue[0] = inpKey.inpFil;
    irc = 0;
    return;
  }
  if (platform::same_text(keyWord, "*")) {
    allocate(keyValue, inpKey.keys.size());
    for (std::size_t i = 0; i < inpKey.keys.size(); ++i) keyValue[i] = inpKey.keys[i].name;
    irc = 0;
    return;
  }
  for (const framework::t_key& k : inpKey.keys) {
    if (!platform::same_text(k.name, keyWord)) continue;
    irc = 0;
    if (k.value.size() != 1) allocate(keyValue, k.value.size());
    std::copy(k.value.begin(), k.value.end(), keyValue.begin());
    return;
  }
  if (!platform::same_text(keyWord, "DUMMY_KEY")) not_found(keyWord);
}

}  // namespace input
