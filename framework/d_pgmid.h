// Program identity and run title, set by PRITIT; run date and time, set by
// DATTIM through DEFCON and PRITIT.
#pragma once
#include <string>
#include <string_view>

namespace framework {

// Version of the software suite, shown in the title block.
constexpr std::string_view kSuiteVersion = "5.2";

struct PgmId {
  std::string pgmName;   // 8 characters at most
  std::string pgmDescr;  // 80
  std::string runTitle;  // 80: title, then date and time in columns 65-80
  std::string runDate;   // DD-MON-YY
  std::string runTime;   // HH:MM
  int dateDone = 0;
};
extern PgmId d_pgmid;

}  // namespace framework
