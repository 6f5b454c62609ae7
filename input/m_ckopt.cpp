#include "input/m_ckopt.h"

#include <algorithm>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "input/d_inpkey.h"
#include "input/descrp.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"

namespace input {

namespace {

void msg(std::string_view text) { framework::write_line(framework::m_tolk.lfnMsg, text); }

void indented(std::string_view text) { msg(std::string(kIndent) + std::string(text)); }

}  // namespace

std::string ckoptPrefix(int iMode, std::string_view routine) {
  return std::string(iMode == 1 ? " *** SR " : " ### SR ") + std::string(routine) + ": ";
}

std::string inputFileName() {
  std::vector<std::string> value;
  int irc = 0;
  READKEYS("", value, irc);
  return value.empty() ? std::string() : std::string(platform::rtrim(value[0]));
}

std::string optionText(std::string_view keyWord, std::string_view descr) {
  std::string text;
  DESCRP(keyWord, kMaxDescr, text);
  if (platform::is_blank(text)) text = platform::cut(descr, kMaxDescr);
  return std::string(platform::rtrim(text));
}

std::string locationText(int i, int nItems) {
  return nItems == 1 ? std::string() : "in line" + platform::list_int(i);
}

std::string withLocation(const std::string& text, const std::string& loc, int W) {
  if (loc.empty()) return std::string(platform::rtrim(text));
  // The line is not held to 80 characters: a long value stays whole and the
  // location still starts at character W + 20, in line with the others.
  const std::size_t at = static_cast<std::size_t>(W > 0 ? W + 19 : 19);
  std::string line = text;
  if (line.size() < at) line.append(at - line.size(), ' ');
  return line + loc;
}

std::string firstItem(std::string_view value) {
  std::size_t b = value.find_first_not_of(' ');
  if (b == std::string_view::npos) return std::string();
  std::size_t e = value.find_first_of(" ,/", b);
  return std::string(value.substr(b, e == std::string_view::npos ? e : e - b));
}

void writeMsgHead(const std::string& headline, std::string_view keyWord,
                  std::string_view srName, std::string_view descr,
                  const std::optional<std::string_view>& column,
                  const std::optional<int>& lineNr,
                  const std::optional<std::string_view>& entry, bool oneItem) {
  msg("");
  msg(headline);
  indented("Input file:  " + inputFileName());
  indented("Called by:   " + std::string(platform::rtrim(srName)));
  indented("Option:      " + optionText(keyWord, descr));
  if (column) indented("Column:      " + std::string(platform::rtrim(*column)));
  if (oneItem && entry) indented("Entry for:   " + std::string(platform::rtrim(*entry)));
  if (oneItem && lineNr) indented("Line number: " + platform::fmt_i(*lineNr, 5));
}

namespace {

// The lines of the status 1 or 2 items and the closing line.
void writeTextItems(int status, const std::vector<std::string>& keyValue,
                    const std::vector<int>& statuses, int W, std::string_view closing) {
  const int nItems = static_cast<int>(statuses.size());
  for (int i = 0; i < nItems; ++i) {
    if (statuses[i] != status) continue;
    const std::string loc = locationText(i + 1, nItems);
    if (status == kItemEmpty) {
      indented(platform::rtrim("Bad value:   \" \"  " + loc));
    } else {
      const std::string text =
          "Bad value:   \" " + std::string(platform::rtrim(keyValue[i])) + " \"";
      indented(withLocation(text, loc, W));
    }
  }
  indented("             " + std::string(closing));
  msg(" ");
}

}  // namespace

void writeItemMessages(const MsgContext& c, int iMode, const std::vector<std::string>& keyValue,
                       const std::vector<int>& statuses, int W,
                       const std::function<void()>& writeRange) {
  const bool one = statuses.size() == 1;
  const std::string key(platform::rtrim(c.keyWord));
  const std::string prefix = ckoptPrefix(iMode, c.routine);
  const bool integer = c.typeName == "integer";
  const std::string article = integer ? "An " : "A ";
  const std::string lower = integer ? "an " : "a ";
  for (int status : {kItemEmpty, kItemBadText, kItemRange}) {
    if (std::count(statuses.begin(), statuses.end(), status) == 0) continue;
    const std::string headline =
        status == kItemRange
            ? prefix + "The value for keyword \"" + key + "\" exceeds the range."
            : prefix + article + std::string(c.typeName) + " string is expected for keyword \"" + key + "\"";
    writeMsgHead(headline, c.keyWord, c.srName, c.descr, c.column, c.lineNr, c.entry, one);
    if (status == kItemEmpty) {
      writeTextItems(status, keyValue, statuses, W, "An empty string is not allowed here!");
    } else if (status == kItemBadText) {
      writeTextItems(status, keyValue, statuses, W,
                     "The string could not be converted to " + lower + std::string(c.typeName) + "!");
    } else {
      writeRange();
    }
  }
}

void descrWarning(std::string_view routine, std::string_view descr,
                  std::string_view keyLabel, std::string_view keyWord) {
  const auto len = static_cast<long long>(platform::len_trim(descr));
  msg("");
  msg(" ### SR " + std::string(routine) +
      ": Dear programmer, please give a shorter description");
  indented("for this option - not more than 45 chr. are possible");
  indented("to get a \"nice\" error message.");
  indented("You have a description with" + platform::fmt_i(len, 4) + " characters.");
  indented(std::string(keyLabel) + std::string(platform::rtrim(keyWord)));
  msg("");
}

void programmerError(std::string_view routine,
                     std::initializer_list<std::string_view> lines) {
  msg("");
  msg(" *** SR " + std::string(routine) + ": Dear programmer, you did a FATAL ERROR!!!");
  for (std::string_view line : lines) indented(line);
  msg("");
  framework::EXITRC(2);
}

}  // namespace input
