#include <string>

#include "framework/exitrc.h"
#include "framework/m_cpu.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "platform/fortran_format.h"
#include "platform/process.h"
#include "platform/units.h"

namespace framework {
namespace {

// True when the program output or the message file lost output so far.
bool system_output_failed() {
  platform::flush_all();
  for (int lfn : {m_tolk.lfnOut, m_tolk.lfnMsg}) {
    if (lfn != 6 && platform::unit_write_failed(lfn)) {
      write_lines(6, {"", " *** SR EXIT_PGM: Output could not be written to LFN" +
                              platform::fmt_i(lfn, 5), ""});
      return true;
    }
  }
  return false;
}

}  // namespace

void EXIT_PGM(int ircode) {
  // A run whose output did not reach its file does not end as a success.
  if (system_output_failed() && (ircode == 0 || ircode == 1)) ircode = 2;
  CPU_END(ircode);
  bool closeFailed = false;
  for (int lfn = 10; lfn <= m_tolk.lfnWork; ++lfn) {
    if (!platform::unit_connected(lfn)) continue;
    if (platform::close_unit(lfn) != 0) {
      write_line(6, " *** SR EXIT_PGM: Cannot close LFN" + platform::fmt_i(lfn, 12));
      write_line(6, "");
      closeFailed = true;
    }
  }
  platform::flush_all();
  const bool success = (ircode == 0 || ircode == 1) && !closeFailed;
  platform::end_process(success ? 0 : 1);
}

}  // namespace framework
