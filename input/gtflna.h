// One file name from a keyword of the input file.
#pragma once
#include <string>
#include <string_view>

namespace input {

// fileName = the first value of keyWord; irc 0 when it is not blank, else 1.
// mode 1 (required): a missing or blank name is reported and ends the run;
// any other mode: silent. The keyword "DEFNAM" leaves fileName and irc as
// they are.
void GTFLNA(int mode, std::string_view keyWord, std::string& fileName, int& irc);

}  // namespace input
