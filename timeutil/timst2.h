// Writing epochs and time windows as time strings (format types as for
// ST2TIM: 1 "YYYY-MM-DD HH:MM:SS", 2 "YYYY MM DD HH MM SS", 3 "YYYY MM DD HH
// MM" and the seconds with nDigit decimals right-justified in nDigit+4
// columns, blank-padded).
//
// text is the whole buffer: the caller sizes it to the declared length
// beforehand (e.g. std::string(19, ' ')); text.size() is the length that is
// checked. It is filled with blanks and the time string is written from
// column 1; the columns behind it stay blank.
#pragma once
#include <array>
#include <optional>
#include <string>

namespace timeutil {

// Writes epoch; 0 and 1e20 (open ends) leave text blank. The seconds are
// rounded to whole seconds (types 1, 2, halves away from zero) or to nDigit
// decimals (type 3), and seconds that round to 60 carry into the minute,
// hour and date. Type 3 needs nDigit; a given nDigit must lie in 0-95. A
// buffer shorter than 19 (type 3: nDigit+20), an unknown type or a missing or
// illegal nDigit: error message and EXITRC(2). nEpo (1) is not used.
void TIMST2(int type, int nEpo, double epoch, std::string& text,
            std::optional<int> nDigit = std::nullopt);

// Writes start and end into the two fields of the window layout (types 1, 2:
// columns 1-19 and 22-40; type 3: 1 to nDigit+20 and nDigit+23 to
// 2*nDigit+42). An open end (start 0, end 1e20) leaves its field blank.
// Errors as for one epoch, with required lengths 40 and 2*nDigit+42; all
// checks run before anything is written. nEpo (2) is not used.
void TIMST2(int type, int nEpo, const std::array<double, 2>& window, std::string& text,
            std::optional<int> nDigit = std::nullopt);

}  // namespace timeutil
