#include "input/rplenvar.h"

#include <optional>
#include <string_view>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "input/d_inpkey.h"
#include "platform/field_read.h"
#include "platform/fixed_text.h"

namespace input {

RplenvarCache rplenvarCache;

namespace {

constexpr std::size_t kBufLen = 255;

// The "ENVIRONMENT" keyword of the store, or nullptr; the cached index is
// used while it still names that keyword.
const framework::t_key* environment() {
  const std::vector<framework::t_key>& keys = inpKey.keys;
  int& idx = rplenvarCache.iEnv;
  if (idx >= 1 && idx <= static_cast<int>(keys.size()) &&
      platform::same_text(keys[idx - 1].name, "ENVIRONMENT")) {
    return &keys[idx - 1];
  }
  idx = 0;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (platform::same_text(keys[i].name, "ENVIRONMENT")) {
      idx = static_cast<int>(i) + 1;
      return &keys[i];
    }
  }
  return nullptr;
}

// The value of the first line that defines var with a value free of "$".
// A line that does not hold two items defines nothing.
// *cut tells whether that line was cut at 255 columns in the input file.
std::optional<std::string> lookup(std::string_view var, bool* cut = nullptr) {
  const framework::t_key* env = environment();
  if (!env) return std::nullopt;
  for (std::size_t i = 0; i < env->value.size(); ++i) {
    const std::string& line = env->value[i];
    const std::vector<platform::FreeItem> items = platform::free_items(line, 2);
    if (items.size() < 2 || items[0].null || items[1].null) continue;
    if (items[1].text.find('$') != std::string::npos) continue;
    if (!platform::same_text(items[0].text, var)) continue;
    if (cut && i < env->cut.size() && env->cut[i]) *cut = true;
    return items[1].text;
  }
  return std::nullopt;
}

void report(int level, const std::string& text) {
  if (level != 1 && level != 2) return;
  const int lfn = framework::m_tolk.lfnMsg;
  framework::write_line(lfn, "");
  framework::write_line(lfn, (level == 1 ? " ### SR RPLENVAR: " : " *** SR RPLENVAR: ") + text);
  framework::write_line(lfn, "");
  if (level == 2) framework::EXITRC(2);
}

// The reference starting with the "$" at d: the variable name (blank for a
// "${" without "}") and the position of its last character.
std::string reference(int level, const std::string& buf, std::size_t d, std::size_t& end) {
  end = d + 1;
  if (buf[d + 1] != '{') return buf.substr(d + 1, 1);
  const std::size_t close = buf.find('}', d + 2);
  if (close == std::string::npos) {
    report(level, "\"}\" is missing in: " + buf);
    return std::string();
  }
  end = close;
  return buf.substr(d + 2, close - d - 2);
}

// The references of name replaced, the text held in limit characters.
std::string replaced(int level, std::string_view name, std::size_t limit, bool& changed,
                     bool* cut = nullptr) {
  std::string buf = platform::cut(name, limit);
  changed = false;
  std::size_t p = 0;
  while (p + 1 < buf.size()) {
    const std::size_t d = buf.find('$', p);
    if (d == std::string::npos || d + 1 >= buf.size()) break;
    std::size_t end = d + 1;
    const std::string var = reference(level, buf, d, end);
    p = end + 1;
    if (platform::is_blank(var)) continue;
    const std::optional<std::string> value = lookup(var, cut);
    if (!value) {
      report(level, "Variable " + std::string(platform::rtrim(var)) + " not resolved in: " + buf);
      continue;
    }
    const std::string v(platform::rtrim(*value));
    buf = platform::cut(buf.substr(0, d) + v + std::string(platform::rtrim(buf.substr(end + 1))), limit);
    changed = true;
    p = d + v.size();
  }
  return buf;
}

}  // namespace

void RPLENVAR(int level, std::string& name) {
  if (platform::len_trim(name) < 2) return;
  bool changed = false;
  std::string buf = replaced(level, name, kBufLen, changed);
  if (changed) name = buf;
}

std::string replaced_whole(std::string_view name, bool* cut) {
  if (platform::len_trim(name) < 2) return std::string(name);
  bool changed = false;
  std::string buf = replaced(0, name, std::string::npos, changed, cut);
  return changed ? buf : std::string(name);
}

}  // namespace input
