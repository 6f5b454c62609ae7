#include "framework/exitrc.h"

#include "framework/d_pgmid.h"
#include "framework/m_msglog.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "input/d_inpkey.h"
#include "platform/fixed_text.h"

namespace framework {

std::string auxInpFil;
ExitHookState exitHook;

namespace {

// The hook is cleared while it runs, so that an EXITRC inside it cannot
// call it again.
int run_exit_hook(int ircode) {
  const ExitHook hook = exitHook.hook;
  if (!hook) return ircode;
  exitHook.hook = nullptr;
  exitHook.calledWith = ircode;
  const int after = hook(ircode);
  exitHook.hook = hook;
  exitHook.calledWith = after;
  return after;
}

// The line that tells where a run was stopped outside its normal state.
void write_stop_text(const input::t_inpkey& key, bool inOpnfil) {
  if (platform::same_text(d_pgmid.pgmName, "OPTSRV")) return;
  const char* text = nullptr;
  if (inOpnfil) {
    text = " ### SR EXITRC: PROGRAM HAS BEEN STOPPED IN OPNFIL";
  } else if (key.status == 1) {
    text = " ### SR EXITRC: PROGRAM HAS BEEN STOPPED DURING INITIALIZATION";
  } else if (key.status > 2) {
    text = " ### SR EXITRC: PROGRAM HAS BEEN STOPPED DURING EXITING";
  }
  if (text) write_lines(m_tolk.lfnMsg, {"", text, ""});
}

}  // namespace

void set_exit_hook(ExitHook hook) {
  exitHook.hook = hook;
  exitHook.calledWith = -1;
}

int rerun_exit_hook(int ircode) {
  if (exitHook.calledWith < 0 || exitHook.calledWith == ircode) return ircode;
  return run_exit_hook(ircode);
}

void EXITRC(int ircode) {
  ircode = with_logged_errors(ircode);
  input::t_inpkey& key = input::inpKey;
  const bool inOpnfil = (key.opnBusy & 1) != 0;
  const bool normal = key.status == 2 && !inOpnfil;
  if (!normal) write_stop_text(key, inOpnfil);
  // Before the results, which list its warnings.
  if (normal && !platform::is_blank(d_pgmid.pgmName)) screen_delete_list();
  if (key.status == 2 && exitHook.hook && exitHook.calledWith < 0) {
    // The results come last, so that they tell how every other output fared.
    ircode = run_exit_hook(CLOSE_OUTPUTS(ircode));
  }
  if (normal) {
    key.status = 3;
    EXIT_MEN(ircode);
    EXIT_DEL();
  }
  key.status = 3;
  EXIT_PGM(ircode);
}

}  // namespace framework
