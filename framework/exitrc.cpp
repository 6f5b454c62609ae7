#include "framework/exitrc.h"

#include "framework/d_pgmid.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "input/d_inpkey.h"
#include "platform/fixed_text.h"

namespace framework {

std::string auxInpFil;

void EXITRC(int ircode) {
  input::t_inpkey& key = input::inpKey;
  const bool inOpnfil = (key.opnBusy & 1) != 0;
  if (key.status == 2 && !inOpnfil) {
    key.status = 3;
    EXIT_MEN(ircode);
    EXIT_DEL();
  } else if (!platform::same_text(d_pgmid.pgmName, "OPTSRV")) {
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
  key.status = 3;
  EXIT_PGM(ircode);
}

}  // namespace framework
