// Checks that a keyword carries no more values than allowed.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace input {

// nItems = the number of values. More than maxItems: the too-many-items
// message (prefix by iMode) and irCode + iMode. iMode other than 0 or 1 ends
// the run.
void CKOPTN(int iMode, std::string_view keyWord, const std::vector<std::string>& keyValue,
            int& nItems, std::string_view srName, std::string_view descr, int& irCode,
            int maxItems);

}  // namespace input
