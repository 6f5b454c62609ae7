#include "framework/d_const.h"

namespace framework {

Const d_const;

}  // namespace framework
