#include "framework/wrterr.h"

#include <string>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"
#include "platform/units.h"

namespace framework {

void WRTERR(int lfnReport, int lfn, int iostat, std::string_view fileName,
            std::string_view caller) {
  if (iostat == 0) return;
  report_write_failure(lfnReport, lfn, iostat, fileName, caller);
  EXITRC(2);
}

void report_write_failure(int lfnReport, int lfn, int iostat, std::string_view fileName,
                          std::string_view caller) {
  if (iostat == 0) return;
  const int unit = lfnReport == 0 || lfnReport == lfn ? 6 : lfnReport;
  const std::string blanks(16, ' ');
  write_lines(unit, {"", " *** SR WRTERR: WRITE FAILED",
                     blanks + "FILE NAME : " + std::string(platform::rtrim(fileName)),
                     blanks + "PGM./SUBR.: " + platform::fmt_a(caller, 10),
                     blanks + "IOSTAT    : " + platform::fmt_i(iostat, 6),
                     blanks + "FILE UNIT : " + platform::fmt_i(lfn, 6), ""});
}

void CLOSE_CHECKED(int lfn, std::string_view fileName, std::string_view caller) {
  WRTERR(m_tolk.lfnMsg, lfn, platform::close_unit(lfn), fileName, caller);
}

}  // namespace framework
