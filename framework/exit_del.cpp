#include <string>

#include "framework/d_pgmid.h"
#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "input/d_inpkey.h"
#include "platform/fixed_text.h"
#include "platform/units.h"

namespace framework {

void EXIT_DEL() {
  if (platform::is_blank(d_pgmid.pgmName)) return;
  const input::t_inpkey& key = input::inpKey;
  for (int k = 0; k < key.nDel && k < static_cast<int>(key.delFil.size()); ++k) {
    const std::string name = key.delFil[static_cast<std::size_t>(k)];
    if (name.find('$') != std::string::npos) continue;
    bool exists = false;
    int unit = 0;
    if (platform::inquire_file(name, exists, unit) != 0 || !exists) continue;
    if (unit != 0) {
      platform::close_unit(unit, true);
      continue;
    }
    const int lfn = m_tolk.lfnWork;
    int ios = 0;
    OPNFIL(lfn, name, "UNKNOWN", "UNFORMATTED", " ", " ", ios);
    if (ios != 0) OPNFIL(lfn, name, "UNKNOWN", "FORMATTED", " ", " ", ios);
    if (ios == 0) platform::close_unit(lfn, true);
  }
}

}  // namespace framework
