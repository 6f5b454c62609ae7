// Asking the run-time about a unit or a file.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace input {

// With unit: name (the connected file, blank when none), exists (true for
// any unit number >= 0) and opened for that unit. Otherwise with file: exists,
// opened and unitNr (the unit connected to it, -1 when none) for the name
// after RPLENVAR level 2 (an unresolved variable ends the run). An inquiry
// that fails answers false, false, -1. Outputs not asked for (nullptr), the
// unit number in unit mode and the name in file mode are not touched.
void INQUIRE(std::optional<int> unit = std::nullopt,
             std::optional<std::string_view> file = std::nullopt, std::string* name = nullptr,
             bool* exists = nullptr, bool* opened = nullptr, int* unitNr = nullptr);

}  // namespace input
