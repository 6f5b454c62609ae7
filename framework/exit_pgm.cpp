#include <string>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "platform/fortran_format.h"
#include "platform/process.h"
#include "platform/units.h"

namespace framework {

void EXIT_PGM(int ircode) {
  for (int lfn = 10; lfn <= m_tolk.lfnWork; ++lfn) {
    if (!platform::unit_connected(lfn)) continue;
    if (platform::close_unit(lfn) != 0) {
      write_line(6, " *** SR EXIT_PGM: Cannot close LFN" + platform::fmt_i(lfn, 12));
      write_line(6, "");
    }
  }
  platform::flush_all();
  platform::end_process(ircode == 0 || ircode == 1 ? 0 : 1);
}

}  // namespace framework
