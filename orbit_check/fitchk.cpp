#include "orbit_check/fitchk.h"

#include "framework/exitrc.h"
#include "input/d_inpkey.h"

namespace orbit_check {

void FITCHK() {
  input::INIT_INPKEY(input::inpKey);
  input::READINPF(" ", input::inpKey);
  framework::EXITRC(0);
}

}  // namespace orbit_check
