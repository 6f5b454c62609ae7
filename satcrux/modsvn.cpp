#include "satcrux/d_satcrx.h"

namespace satcrux {

int MODSVN(int satNum) {
  if (satNum >= 900 || satNum % 100 <= 50) return satNum;
  return satNum - 50;
}

}  // namespace satcrux
