#include "input/ckoptc.h"

#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "input/ckoptn.h"
#include "input/m_ckopt.h"
#include "platform/fixed_text.h"

namespace input {

namespace {

std::string trimmed(std::string_view value) {
  const std::size_t b = value.find_first_not_of(' ');
  if (b == std::string_view::npos) return std::string();
  return std::string(platform::rtrim(value.substr(b)));
}

void writeNotAllowed(int iMode, std::string_view keyWord, std::string_view srName,
                     std::string_view descr, const std::string& value,
                     const std::vector<std::string_view>& allowed) {
  const std::string ind(kIndent);
  writeMsgHead(ckoptPrefix(iMode, "CKOPTC") + "The value for keyword \"" +
                   std::string(platform::rtrim(keyWord)) + "\" is not allowed.",
               keyWord, srName, descr, std::nullopt, std::nullopt, std::nullopt, true);
  const int lfn = framework::m_tolk.lfnMsg;
  framework::write_line(lfn, ind + "Bad value:   \" " + value + " \"");
  framework::write_line(lfn, ind + "Allowed:     " + allowedText(allowed));
  framework::write_line(lfn, " ");
}

}  // namespace

std::string allowedText(const std::vector<std::string_view>& allowed) {
  std::string text;
  for (std::size_t i = 0; i < allowed.size(); ++i) {
    if (i > 0) text += i + 1 == allowed.size() ? " or " : ", ";
    text += "\"" + std::string(allowed[i]) + "\"";
  }
  return text;
}

int CKOPTC(int iMode, std::string_view keyWord, const std::vector<std::string>& keyValue,
           std::string_view srName, std::string_view descr, int irc, int& irCode,
           const std::vector<std::string_view>& allowed, int empty, int error) {
  if (platform::len_trim(descr) > static_cast<std::size_t>(kMaxDescr)) {
    descrWarning("CKOPTC", descr, "Keyword:  ", keyWord);
  }
  if (iMode != 0 && iMode != 1) {
    programmerError("CKOPTC", {"The first parameter has to be \"0\" or \"1\".",
                               "Keyword:  " + std::string(platform::rtrim(keyWord))});
  }
  if (irc != 0) {
    irCode += 1;
    return error;
  }
  int nItems = 0;
  CKOPTN(iMode, keyWord, keyValue, nItems, srName, descr, irCode, 1);
  if (nItems > 1) return error;
  const std::string value = keyValue.empty() ? std::string() : trimmed(keyValue[0]);
  if (value.empty()) return empty;
  for (std::size_t i = 0; i < allowed.size(); ++i) {
    if (value == allowed[i]) return static_cast<int>(i);
  }
  writeNotAllowed(iMode, keyWord, srName, descr, value, allowed);
  irCode += iMode;
  return error;
}

}  // namespace input
