// Splitting an angle or a fraction of a day into three parts.
#pragma once

namespace timeutil {

// Splits value by transformation type:
//   0 radians -> hours, minutes, seconds of time;
//   1 radians -> degrees, arc minutes, arc seconds;
//   2 radians -> gon, centigon, centi-centigon;
//   3 days    -> hours, minutes, seconds of the fraction of the day;
//   10-13 as 0-3 with a finer guard (1e-14 instead of 1e-6).
// Types 0-2 return the magnitude's parts and sign '-' or ' '; type 3 splits
// the signed fraction and leaves sign as passed. Seconds are never negative.
// Any other type: error message and EXITRC(2).
void RADGMS(int type, double value, char& sign, int& whole, int& minutes, double& seconds);

}  // namespace timeutil
