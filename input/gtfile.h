// A list of files from a keyword, with derived columns of related names.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace input {

// nFil = the number of values of keyWord (0 when it is missing or its first
// value is blank). filNam[c-1][i-1] is the name of file i in column c,
// c = 1..nCol: column 1 the values themselves, columns 2..5 derived from them
// with the extension of keyWord + "_EXT_COL_" + c and the directory of
// keyWord + "_PTH_COL_" + c. filNam is resized to nCol columns of nFil names
// (each at most 255 characters). nCol above 5 or more than maxFil files ends
// the run.
void GTFILE(std::string_view keyWord, int nCol, int maxFil, int& nFil,
            std::vector<std::vector<std::string>>& filNam);

}  // namespace input
