#include <string>

#include "framework/exitrc.h"
#include "framework/opnfil.h"
#include "framework/write_line.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"

namespace framework {

void OPNERR(int lfnReport, int lfn, int iostat, std::string_view fileName,
            std::string_view caller) {
  const int code = iostat % 256;
  if (code == 0) return;
  const int unit = lfnReport == 0 ? 6 : lfnReport;
  const std::string blanks(16, ' ');
  write_lines(unit, {"", " *** SR OPNERR: OPEN FAILED",
                     blanks + "FILE NAME : " + std::string(platform::rtrim(fileName)),
                     blanks + "PGM./SUBR.: " + platform::fmt_a(caller, 10),
                     blanks + "IOSTAT    : " + platform::fmt_i(code, 6),
                     blanks + "FILE UNIT : " + platform::fmt_i(lfn, 6), ""});
  EXITRC(2);
}

}  // namespace framework
