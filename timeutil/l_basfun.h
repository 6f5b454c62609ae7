// Basic numeric functions shared by the time and angle routines.
#pragma once

namespace timeutil {

// Real remainder x - trunc(x/y)*y: the result has the sign of x.
double DMOD(double x, double y);

// x cut toward zero to an int; values beyond the int range give its nearest
// end and NaN gives 0, so no input is undefined.
int to_int(double x);

// Nearest int, halves away from zero (Fortran NINT), saturating as to_int.
int nint(double x);

}  // namespace timeutil
