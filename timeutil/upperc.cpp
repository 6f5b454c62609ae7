#include "timeutil/upperc.h"

namespace timeutil {

void UPPERC(std::string& text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
}

}  // namespace timeutil
