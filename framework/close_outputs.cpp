#include <string>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "platform/fortran_format.h"
#include "platform/units.h"

namespace framework {

int CLOSE_OUTPUTS(int ircode) {
  bool failed = false;
  for (int lfn = 10; lfn <= m_tolk.lfnWork; ++lfn) {
    if (lfn == m_tolk.lfnOut || lfn == m_tolk.lfnMsg || !platform::unit_connected(lfn)) continue;
    if (platform::close_unit(lfn) != 0) {
      write_line(6, " *** SR EXIT_PGM: Cannot close LFN" + platform::fmt_i(lfn, 12));
      write_line(6, "");
      failed = true;
    }
  }
  platform::flush_all();
  for (int lfn : {m_tolk.lfnOut, m_tolk.lfnMsg, 6}) {
    if (!platform::unit_write_failed(lfn)) continue;
    if (!exitHook.outputsLost) {
      write_lines(6, {"", " *** SR EXIT_PGM: Output could not be written to LFN" +
                              platform::fmt_i(lfn, 5), ""});
    }
    failed = true;
    break;
  }
  if (failed) exitHook.outputsLost = true;
  return exitHook.outputsLost && (ircode == 0 || ircode == 1) ? 2 : ircode;
}

}  // namespace framework
