// Description of an option from the input file.
#pragma once
#include <string>
#include <string_view>

namespace input {

// text = the first value of the first keyword "MSG_" + keyWord or "DESCR_" +
// keyWord, blank when there is none or the store is not loaded. A longer
// description is shortened to maxLen characters, ending in " .." when
// maxLen > 3; maxLen < 1 with a longer description ends the run.
void DESCRP(std::string_view keyWord, int maxLen, std::string& text);

}  // namespace input
