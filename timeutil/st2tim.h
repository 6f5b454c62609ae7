// Reading epochs and time windows from time strings.
//
// Format types: 1 "YYYY-MM-DD HH:MM:SS"; 2 "YYYY MM DD HH MM SS"; 3 "YYYY MM
// DD HH MM" followed by the seconds with nDigit decimals right-justified in
// nDigit+4 columns. Separator columns are never checked, so types 1 and 2
// read alike. Type 3 without nDigit reads the seconds in free form from
// column 17 on. Fields are read as fixed-column numbers: blanks ignored, an
// all-blank field is 0, so a date alone reads as 0 h of that day.
//
// text is the whole buffer: callers pass exactly its columns (trailing blanks
// included), and text.size() is the length that is checked.
#pragma once
#include <array>
#include <optional>
#include <string_view>

namespace timeutil {

// epoch: the MJD of the string; 0 for an all-blank string. A string shorter
// than the type needs (19, nDigit+20), an unknown type or a field that cannot
// be read: error message and EXITRC(2). nEpo (1) is not used.
void ST2TIM(int type, int nEpo, std::string_view text, double& epoch,
            std::optional<int> nDigit = std::nullopt);

// window: start and end from two epoch fields two columns apart (types 1, 2:
// columns 1-19 and 22-40; type 3: 1 to nDigit+20 and nDigit+23 to
// 2*nDigit+42; type 3 without nDigit: the string halved). A blank field keeps
// its open end (start 0, end 1e20). An end not after the start draws a
// warning and the values are returned as read. Errors as for one epoch, with
// required lengths 40 and 2*nDigit+42. nEpo (2) is not used.
void ST2TIM(int type, int nEpo, std::string_view text, std::array<double, 2>& window,
            std::optional<int> nDigit = std::nullopt);

}  // namespace timeutil
