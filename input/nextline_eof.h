// NEXTLINE that also tells whether the file itself has ended.
#pragma once
#include <string>

#include "input/d_inpkey.h"

namespace input {

// As NEXTLINE; eof is true when the blank result comes from the end of the file.
std::string nextline_eof(int lfn, int adjust, bool& eof);

}  // namespace input
