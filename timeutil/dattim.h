// Date and time stamp for report headers.
#pragma once
#include <string>

namespace timeutil {

// From the local clock: date as DD-MON-YY (07-DEC-26), time as HH:MM (06:05).
void DATTIM(std::string& date, std::string& time);

}  // namespace timeutil
