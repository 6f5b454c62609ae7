// NEXTLINE that also tells whether the file itself has ended.
#pragma once
#include <string>

#include "input/d_inpkey.h"

namespace input {

// As NEXTLINE; eof is true when the blank result comes from the end of the file.
// With records, the number of records read is added to *records (the line
// number of a line returned, when counted from the start of the file).
// With whole: the line as it stands in the file (left-adjusted alike, up to
// 64 KiB) when it is longer than the 255 columns kept, else empty.
std::string nextline_eof(int lfn, int adjust, bool& eof, int* records = nullptr,
                         std::string* whole = nullptr);

}  // namespace input
