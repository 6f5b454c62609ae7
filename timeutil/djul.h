// Calendar date to modified Julian date.
#pragma once

namespace timeutil {

// MJD of day value `day` (fraction = time of day) of month/year, Gregorian
// rule for every date. Nothing is checked: day 0 is the last day of the
// previous month, 29 February of a common year is 1 March.
double DJUL(int year, int month, double day);

}  // namespace timeutil
