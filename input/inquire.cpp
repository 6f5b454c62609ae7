#include "input/inquire.h"

#include "input/rplenvar.h"
#include "platform/fixed_text.h"
#include "platform/units.h"

namespace input {

void INQUIRE(std::optional<int> unit, std::optional<std::string_view> file, std::string* name,
             bool* exists, bool* opened, int* unitNr) {
  if (unit) {
    std::string connected;
    const bool isOpen = platform::unit_connected(*unit, &connected);
    if (name) *name = isOpen ? connected : std::string();
    if (exists) *exists = *unit >= 0;
    if (opened) *opened = isOpen;
    return;
  }
  if (!file) return;
  std::string resolved = platform::cut(*file, 255);
  RPLENVAR(2, resolved);
  bool there = false;
  int connectedTo = 0;
  if (platform::inquire_file(resolved, there, connectedTo) != 0) {
    there = false;
    connectedTo = 0;
  }
  if (exists) *exists = there;
  if (opened) *opened = connectedTo != 0;
  if (unitNr) *unitNr = connectedTo != 0 ? connectedTo : -1;
}

}  // namespace input
