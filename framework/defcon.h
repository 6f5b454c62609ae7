// The shared constants, the run date and time, and the constants file.
#pragma once

namespace framework {

// Sets piConst, degPerRad, arcsecPerRad and the run date and time. With
// readFlag 1 also reads the constants file named by "CONST" (required),
// derives the wavelengths and sets dateDone; a value that is not a number
// ends the run.
void DEFCON(int readFlag);

}  // namespace framework
