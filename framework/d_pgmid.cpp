#include "framework/d_pgmid.h"

namespace framework {

PgmId d_pgmid;

}  // namespace framework
