// Variable references in file names, resolved from "ENVIRONMENT".
#pragma once
#include <string>

namespace input {

// Replaces ${NAME} and $N references in name; level 1 warns, 2 ends the run.
void RPLENVAR(int level, std::string& name);

}  // namespace input
