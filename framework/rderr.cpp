#include "framework/rderr.h"

#include <string>

#include "framework/exitrc.h"
#include "framework/write_line.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"
#include "platform/units.h"

namespace framework {

void RDERR(int lfnReport, int lfn, std::string_view fileName, std::string_view caller) {
  const int iostat = platform::unit_read_error(lfn);
  if (iostat == 0) return;
  platform::close_unit(lfn);
  read_failed(lfnReport, lfn, iostat, fileName, caller);
}

void read_failed(int lfnReport, int lfn, int iostat, std::string_view fileName,
                 std::string_view caller) {
  const int unit = lfnReport == 0 || lfnReport == lfn ? 6 : lfnReport;
  const std::string blanks(16, ' ');
  write_lines(unit, {"", " *** SR " + std::string(platform::rtrim(caller)) + ": READ FAILED",
                     blanks + "FILE NAME : " + std::string(platform::rtrim(fileName)),
                     blanks + "IOSTAT    : " + platform::fmt_i(iostat, 6),
                     blanks + "FILE UNIT : " + platform::fmt_i(lfn, 6), ""});
  EXITRC(2);
}

}  // namespace framework
