#include "input/d_inpkey.h"

namespace input {

t_inpkey inpKey;

void INIT_INPKEY(t_inpkey& store) {
  store.inpFil.clear();
  store.nKeys = 0;
  store.keys.clear();
  store.hasKeys = false;
  store.nDel = 0;
  store.delFil.clear();
  store.hasDelFil = false;
  store.opnBusy = 0;
  store.status = 0;
}

}  // namespace input
