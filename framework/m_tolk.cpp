#include "framework/m_tolk.h"

namespace framework {

Tolk m_tolk;

void INIT_KEY(t_key& key) {
  key.value.clear();
  key.hasValue = false;
}

}  // namespace framework
