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

}  // namespace orbit_check
