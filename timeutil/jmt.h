// Modified Julian date to calendar date.
#pragma once

namespace timeutil {

// Splits mjd into year, month and day value (day of month plus the time of
// day as a fraction; for a negative mjd the fraction is negative, so -0.25
// gives 1858-11-16.75).
void JMT(double mjd, int& year, int& month, double& day);

}  // namespace timeutil
