#include "framework/pritit.h"

#include <algorithm>
#include <string>
#include <vector>

#include "framework/d_pgmid.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "input/d_inpkey.h"
#include "input/rplenvar.h"
#include "platform/clock.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"
#include "timeutil/dattim.h"
#include "timeutil/iyear4.h"

namespace framework {

namespace {

constexpr std::size_t kRuleMax = 255;
constexpr std::size_t kShort = 80;

struct TitleInfo {
  std::string title, campaign, sesInfo, yr4Info;
};

// The values of "TITLE", "CAMPAIGN", "SES_INFO" and "YR4_INFO"; only keywords
// the input file has are read, so none draws a not-found message.
TitleInfo readTitleKeys() {
  TitleInfo t;
  std::vector<std::string> names, value;
  int irc = 0;
  input::READKEYS("*", names, irc);
  for (const std::string& name : names) {
    std::string* target = platform::same_text(name, "TITLE")      ? &t.title
                          : platform::same_text(name, "CAMPAIGN") ? &t.campaign
                          : platform::same_text(name, "YR4_INFO") ? &t.yr4Info
                          : platform::same_text(name, "SES_INFO") ? &t.sesInfo
                                                                   : nullptr;
    if (!target) continue;
    input::READKEYS(name, value, irc);
    if (irc == 0 && !value.empty()) *target = platform::cut(value[0], target == &t.title ? 255 : kShort);
  }
  return t;
}

std::string userName() {
  std::string user = "${USER}";
  input::RPLENVAR(0, user);
  user = platform::cut(user, kShort);
  return platform::is_blank(user) ? "none" : user;
}

// DD-Mon-YYYY hh:mm:ss from the system clock.
std::string dateLine() {
  static const char* const kMonth[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const platform::LocalTime now = platform::local_now();
  const int m = std::clamp(now.month, 1, 12);
  const std::string day = platform::fmt_i(now.day, 2, 2) + "-" + kMonth[m - 1] + "-";
  const std::string time = platform::fmt_i(now.hour, 2, 2) + ":" + platform::fmt_i(now.minute, 2, 2) +
                           ":" + platform::fmt_i(now.second, 2, 2);
  return platform::Line().A(day, 7).I(timeutil::IYEAR4(now.year % 100), 4).X(1).A(time, 8).str();
}

void warn(const std::string& text) {
  write_line(m_tolk.lfnMsg, "");
  write_line(m_tolk.lfnMsg, text);
  write_line(m_tolk.lfnMsg, "");
}

// Cut to width characters, written after one blank, skipped when blank.
void put(const std::string& text, std::size_t width) {
  const std::string shown = platform::cut(text, width);
  if (!platform::is_blank(shown)) write_line(m_tolk.lfnOut, " " + shown);
}

void recordIdentity(std::string_view pgmNam, std::string_view descr, const std::string& title) {
  d_pgmid.pgmName = platform::cut(pgmNam, 8);
  d_pgmid.pgmDescr = platform::cut(descr, kShort);
  if (d_pgmid.dateDone != 1) timeutil::DATTIM(d_pgmid.runDate, d_pgmid.runTime);
  d_pgmid.runTitle = platform::cut(platform::pad(title, 64) + " " + platform::pad(d_pgmid.runDate, 9) +
                                       " " + platform::pad(d_pgmid.runTime, 5),
                                   kShort);
}

}  // namespace

void PRITIT(std::string_view pgmNam, std::string_view descr, std::optional<int> lineLen) {
  const std::size_t width = static_cast<std::size_t>(std::clamp(lineLen.value_or(79), 0, 255));
  const std::string ruleEq(std::min(width, kRuleMax), '='), ruleMinus(ruleEq.size(), '-');
  const TitleInfo t = readTitleKeys();
  std::string session = "unknown";
  if (!platform::is_blank(t.sesInfo) && !platform::is_blank(t.yr4Info)) {
    session = platform::cut(std::string(platform::rtrim(t.sesInfo)) + " year " + t.yr4Info, kShort);
  }
  const std::string user = userName();
  if (platform::is_blank(t.title)) warn(" ### SR PRITIT: Please enter a title to characterize the program run.");
  recordIdentity(pgmNam, descr, t.title);
  if (platform::is_blank(descr)) warn(" ### SR PRITIT: There should be a short description of the program.");
  const std::string rtr(platform::rtrim(descr));
  const std::size_t w = ruleEq.size();
  write_line(m_tolk.lfnOut, "");
  for (const std::string& line :
       {ruleEq, "Morvane GNSS Software, Version " + std::string(kSuiteVersion), ruleMinus,
        "Program        : " + std::string(platform::rtrim(pgmNam)),
        rtr.empty() ? std::string() : "Purpose        : " + rtr, ruleMinus,
        "Campaign       : " + std::string(platform::rtrim(t.campaign)),
        "Default session: " + session, "Date           : " + dateLine(),
        "User name      : " + user, ruleEq}) {
    put(line, w);
  }
  if (!platform::is_blank(t.title)) {
    write_lines(m_tolk.lfnOut, {"", ""});
    put(t.title, w);
    put(ruleMinus, w);
  }
  write_lines(m_tolk.lfnOut, {"", ""});
}

}  // namespace framework
