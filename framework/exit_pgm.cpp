#include <string>

#include "framework/exitrc.h"
#include "framework/m_cpu.h"
#include "framework/m_msglog.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "platform/fortran_format.h"
#include "platform/process.h"
#include "platform/units.h"

namespace framework {
namespace {

bool success(int ircode) { return ircode == 0 || ircode == 1; }

void cannot_close(int lfn) {
  write_line(6, " *** SR EXIT_PGM: Cannot close LFN" + platform::fmt_i(lfn, 12));
  write_line(6, "");
}

}  // namespace

void EXIT_PGM(int ircode) {
  // Every output but the verdict is checked before the verdict line.
  ircode = CLOSE_OUTPUTS(ircode);
  const int out = m_tolk.lfnOut;
  const int msg = m_tolk.lfnMsg;
  if (msg != out && msg >= 10 && platform::unit_connected(msg) && platform::close_unit(msg) != 0) {
    cannot_close(msg);
    if (success(ircode)) ircode = 2;
  }
  ircode = rerun_exit_hook(with_logged_errors(ircode));
  const long mark = platform::unit_mark(out);
  CPU_END(ircode);
  platform::flush_all();
  const bool consoleLost = platform::unit_write_failed(6);
  bool lost = consoleLost || platform::unit_write_failed(out);
  if (out >= 10 && platform::unit_connected(out)) {
    std::string name;
    platform::unit_connected(out, &name);
    const bool closeFailed = platform::close_unit(out) != 0;
    if (closeFailed) cannot_close(out);
    lost = lost || closeFailed;
    // A verdict line that did not reach the console or whose file failed to
    // close is taken back.
    if (lost && success(ircode) && mark >= 0) {
      const std::string why = consoleLost && !closeFailed
                                  ? " *** SR EXIT_PGM: Output could not be written to LFN" +
                                        platform::fmt_i(6, 5)
                                  : " *** SR EXIT_PGM: Cannot close LFN" + platform::fmt_i(out, 12);
      platform::cut_and_append(name, mark, "\n" + why + "\n\n>>> Program ended with an error\n\n");
    }
  }
  if (lost && success(ircode)) {
    if (consoleLost || out < 10) {  // told on the console, should it work again
      write_lines(6, {"", " *** SR EXIT_PGM: Output could not be written to LFN" +
                              platform::fmt_i(consoleLost ? 6 : out, 5), ""});
    }
    ircode = rerun_exit_hook(2);
  }
  platform::flush_all();
  platform::end_process(success(ircode) ? 0 : 1);
}

}  // namespace framework
