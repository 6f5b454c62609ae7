#include "framework/opnsys.h"

#include <string>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/write_line.h"
#include "input/ckoptb.h"
#include "input/d_inpkey.h"
#include "input/gtflna.h"
#include "input/inquire.h"
#include "platform/field_read.h"
#include "platform/fixed_text.h"
#include "platform/units.h"

namespace framework {

namespace {

constexpr const char* kCaller = "OPNSYS";

void openOrStop(int lfnReport, int lfn, const std::string& name, const char* status,
                const char* action = "") {
  int ios = 0;
  OPNFIL(lfn, name, status, "", action, " ", ios);
  OPNERR(lfnReport, lfn, ios, name, kCaller);
}

// Opens name on lfn as an empty file: an existing one is first opened and
// deleted (always when checkFirst is false).
void openEmpty(int lfnReport, int lfn, const std::string& name, bool checkFirst) {
  bool exists = true;
  if (checkFirst) input::INQUIRE(std::nullopt, name, nullptr, &exists);
  if (exists) {
    openOrStop(lfnReport, lfn, name, checkFirst ? "UNKNOWN" : "NEW");
    platform::close_unit(lfn, true);
  }
  openOrStop(lfnReport, lfn, name, "NEW");
}

// Messages into their own file, reported on the message unit before it.
void openMessageFile(const std::string& name, bool checkFirst) {
  const int previous = m_tolk.lfnMsg;
  m_tolk.lfnMsg = m_tolk.lfnMsgFil;
  openEmpty(previous, m_tolk.lfnMsg, name, checkFirst);
}

bool checkBox(const char* keyWord, const char* descr, int& irCode) {
  bool set = false;
  input::CKOPTB(1, {keyWord}, kCaller, descr, irCode, std::nullopt, std::nullopt, std::nullopt,
                std::nullopt, std::nullopt, nullptr, &set);
  return set;
}

void connectMessages(int& irCode) {
  std::string errName;
  int irc = 0;
  if (!input::TSTKEY("ERRMRG")) {
    input::GTFLNA(0, "SYSERR", errName, irc);
    if (platform::same_text(errName, "SYSOUT") || irc != 0 || platform::is_blank(errName)) {
      m_tolk.lfnMsg = m_tolk.lfnOut;
    } else {
      openMessageFile(errName, false);
    }
    return;
  }
  if (checkBox("ERRMRG", "Merge program messages into output", irCode)) {
    m_tolk.lfnMsg = m_tolk.lfnOut;
    return;
  }
  input::GTFLNA(1, "SYSERR", errName, irc);
  if (platform::same_text(errName, "SYSOUT")) {
    m_tolk.lfnMsg = m_tolk.lfnOut;
  } else {
    openMessageFile(errName, true);
  }
}

// Warns when a special output was asked for but the name looks like the
// default one (ending in a two-digit number).
void checkDefaultName(const std::string& outName, int& irCode) {
  const std::size_t len = platform::len_trim(outName);
  if (len < 2 || !input::TSTKEY("SYSODEF")) return;
  int number = 0;
  const bool numeric = platform::read_int_field(outName.substr(len - 2, 2), number);
  if (checkBox("SYSODEF", "Use default name for program output", irCode) || !numeric) return;
  const int lfn = m_tolk.lfnMsg;
  write_line(lfn, "");
  write_line(lfn, " ### SR OPNSYS: Special program output requested, but default file name found.");
  write_line(lfn, "                Program output: " + std::string(platform::rtrim(outName)));
  write_line(lfn, "");
}

}  // namespace

void OPNSYS() {
  std::string name;
  int irc = 0;
  input::GTFLNA(0, "SYSINP", name, irc);
  if (irc == 0) openOrStop(m_tolk.lfnMsg, m_tolk.lfnStdIn, name, "OLD", "READONLY");
  int irCode = 0;
  std::string outName;
  int ircOut = 0;
  input::GTFLNA(0, "SYSOUT", outName, ircOut);
  if (ircOut == 0) {
    m_tolk.lfnOut = m_tolk.lfnOutFil;
    openEmpty(m_tolk.lfnMsg, m_tolk.lfnOut, outName, true);
  }
  connectMessages(irCode);
  if (ircOut == 0) checkDefaultName(outName, irCode);
  if (irCode != 0) EXITRC(2);
}

}  // namespace framework
