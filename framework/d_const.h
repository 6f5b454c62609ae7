// Constants shared by the programs of the suite, set by DEFCON.
#pragma once

namespace framework {

// All start at 0 until DEFCON runs.
struct Consts {
  double piConst = 0.0;       // 4*atan(1)
  double degPerRad = 0.0;     // 180/pi
  double arcsecPerRad = 0.0;  // degPerRad*3600
};
extern Consts d_const;

}  // namespace framework
