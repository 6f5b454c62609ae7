#include "input/gtflna.h"

#include <vector>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "input/chkfln.h"
#include "input/d_inpkey.h"
#include "input/descrp.h"
#include "platform/fixed_text.h"

namespace input {

namespace {

[[noreturn]] void nameMissing(std::string_view keyWord) {
  std::string descr;
  DESCRP(keyWord, 50, descr);
  const int lfn = framework::m_tolk.lfnMsg;
  framework::write_line(lfn, "");
  framework::write_line(lfn, " *** SR GTFLNA: File name not found or blank");
  framework::write_line(lfn, "                Keyword:  " + std::string(platform::rtrim(keyWord)));
  if (!platform::is_blank(descr)) {
    framework::write_line(lfn, "                Option:   " + std::string(platform::rtrim(descr)));
  }
  framework::write_line(lfn, "");
  framework::EXITRC(2);
}

}  // namespace

void GTFLNA(int mode, std::string_view keyWord, std::string& fileName, int& irc) {
  if (platform::same_text(keyWord, "DEFNAM")) return;
  fileName.clear();
  if (mode == 1 || TSTKEY(keyWord)) {
    std::vector<std::string> value;
    int ircKey = 0;
    READKEYS(keyWord, value, ircKey);
    if (!value.empty()) fileName = platform::cut(value[0], 255);
  }
  if (!platform::is_blank(fileName)) {
    CHKFLN("GTFLNA", keyWord, fileName, value_cut(keyWord, 0));
    irc = 0;
    return;
  }
  irc = 1;
  if (mode == 1) nameMissing(keyWord);
}

}  // namespace input
