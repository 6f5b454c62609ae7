// The command line's own requests: usage text and version.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace orbit_check {

// For the single argument "--help" or "-h" the usage text, for "--version"
// the program's name and version; nothing for any other argument list
// (which names the input file).
std::optional<std::string> information_text(const std::vector<std::string>& args);

// How to call the program, for arguments that, joined with blanks as the
// run joins them, name no existing file while one of them begins with "-"
// (an option in the wrong place, such as "CASE.INP --check"); nothing else.
std::optional<std::string> call_hint(const std::vector<std::string>& args);

}  // namespace orbit_check
