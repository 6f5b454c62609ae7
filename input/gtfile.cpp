#include "input/gtfile.h"

#include <algorithm>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "input/chkfln.h"
#include "input/d_inpkey.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"

namespace input {

namespace {

constexpr int kMaxCol = 5;
constexpr std::size_t kNameLen = 255;
constexpr std::size_t kKeyLen = 32;
constexpr std::string_view kUnset = ".";

// The first value of a keyword, or "." when it is not in the input file.
std::string firstValueOr(const std::string& keyWord) {
  std::vector<std::string> value;
  int irc = 0;
  READKEYS(keyWord, value, irc);
  if (irc != 0 || value.empty()) return std::string(kUnset);
  return value[0];
}

std::string extension(std::string_view keyWord, int c) {
  std::string ext = firstValueOr(std::string(keyWord) + "_EXT_COL_" + std::to_string(c));
  if (platform::same_text(ext, kUnset)) return ext;
  const std::size_t b = ext.find_first_not_of(' ');
  return platform::cut(b == std::string::npos ? std::string() : ext.substr(b), 3);
}

// A directory holding a separator gets the last one appended when it does not
// end in one. Held in 255 characters like the names it is put in front of.
std::string directory(std::string_view keyWord, int c) {
  const std::string key = std::string(keyWord) + "_PTH_COL_" + std::to_string(c);
  std::string dir = platform::cut(firstValueOr(key), kNameLen);
  if (value_cut(key, 0)) name_too_long("GTFILE", key, dir, TooLong::LineCut, 0);
  const std::size_t sep = dir.find_last_of("/\\");
  if (sep != std::string::npos && sep + 1 != dir.size()) dir += dir[sep];
  return dir;
}

// The name of column c derived from the name in column 1; one that does not
// fit in 255 characters ends the run rather than being cut to another name.
std::string derived(std::string_view keyWord, const std::string& name, const std::string& ext,
                    const std::string& dir) {
  std::string out;
  if (!platform::same_text(ext, kUnset)) {
    const std::size_t dot = name.find_last_of('.');
    out = (dot == std::string::npos ? std::string() : name.substr(0, dot + 1)) +
          platform::pad(ext, 3);
  }
  if (!platform::same_text(dir, kUnset)) {
    const std::size_t sep = out.find_last_of("/\\");
    out = std::string(platform::rtrim(dir)) + (sep == std::string::npos ? out : out.substr(sep + 1));
  }
  const std::size_t length = platform::len_trim(out);
  if (length > kNameLen) name_too_long("GTFILE", keyWord, out, TooLong::Given, length);
  return out;
}

// Written as list-directed output writes a text followed by an integer.
[[noreturn]] void tooMany(const std::string& text, int n) {
  framework::write_line(framework::m_tolk.lfnMsg, " " + text + platform::fmt_i(n, 12));
  framework::EXITRC(2);
}

}  // namespace

void GTFILE(std::string_view keyWord, int nCol, int maxFil, int& nFil,
            std::vector<std::vector<std::string>>& filNam) {
  if (nCol > kMaxCol) tooMany(" *** gtfile: too many columns: ", nCol);
  nCol = std::max(nCol, 0);
  std::vector<std::string> ext(static_cast<std::size_t>(nCol) + 1), dir(ext.size());
  for (int c = 2; c <= nCol; ++c) ext[c] = extension(keyWord, c);
  for (int c = 2; c <= nCol; ++c) dir[c] = directory(keyWord, c);
  std::vector<std::string> value;
  int irc = 0;
  READKEYS(keyWord, value, irc);
  nFil = (irc != 0 || value.empty() || platform::is_blank(value[0])) ? 0 : static_cast<int>(value.size());
  if (nFil > maxFil) {
    // The keyword shows in its full 32-character buffer.
    const std::size_t width = std::max(kKeyLen, keyWord.size());
    tooMany(" *** gtfile: too many files: " + platform::pad(keyWord, width), nFil);
  }
  filNam.assign(static_cast<std::size_t>(nCol), std::vector<std::string>(static_cast<std::size_t>(nFil)));
  for (int i = 0; i < nFil; ++i) {
    CHKFLN("GTFILE", keyWord, value[i], value_cut(keyWord, static_cast<std::size_t>(i)));
  }
  for (int i = 0; i < nFil; ++i) {
    const std::string name = platform::cut(value[i], kNameLen);
    if (nCol >= 1) filNam[0][i] = name;
    for (int c = 2; c <= nCol; ++c) filNam[c - 1][i] = derived(keyWord, name, ext[c], dir[c]);
  }
}

}  // namespace input
