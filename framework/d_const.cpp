#include "framework/d_const.h"

namespace framework {

Consts d_const;

}  // namespace framework
