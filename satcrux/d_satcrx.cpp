#include "satcrux/d_satcrx.h"

namespace satcrux {

SatCrx d_satcrx;

void INIT_SATCRUX(t_satcrux& list) {
  list.filNam.clear();
  list.nCrx = 0;
  list.crxLst.clear();
  list.stop = ReadStop{};
}

}  // namespace satcrux
