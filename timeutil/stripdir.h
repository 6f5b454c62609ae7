// Removal of the directory part of a file name.
#pragma once
#include <string>

namespace timeutil {

// Keeps the text after the last "/" or "\"; a name without either, or a
// blank name, stays as it is.
void STRIPDIR(std::string& name);

}  // namespace timeutil
