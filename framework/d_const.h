// Constants shared by every routine: the angular constants, and the values
// of the constants file with the wavelengths derived from them.
#pragma once
#include <array>

namespace framework {

constexpr int kMaxSatSlots = 100;

struct Consts {
  double piConst = 0.0;       // pi, as 4 atan(1)
  double degPerRad = 0.0;     // 180 / pi
  double arcsecPerRad = 0.0;  // degPerRad * 3600

  // Values of the constants file, named as in the file; 0 when not read.
  double C = 0.0;                     // speed of light
  std::array<double, 3> FREQ{};       // FREQ1, FREQ2, FREQ5
  double FREQP = 0.0;
  double FREQG1 = 0.0, FREQG2 = 0.0, DFRQG1 = 0.0, DFRQG2 = 0.0, FREQGP = 0.0;
  std::array<double, 5> FRQE{};       // FRQE1, FRQE5, FRQE5a, FRQE5b, FRQE6
  std::array<double, 2> FRQS{};       // FRQS1, FRQS5
  std::array<double, 4> FRQC{};       // FRQC1, FRQC2, FRQC5b, FRQC6
  std::array<double, 4> FRQJ{};       // FRQJ1, FRQJ2, FRQJ5, FRQJ6
  double GM = 0.0, GMS = 0.0, GMM = 0.0, AU = 0.0, AE = 0.0, J2 = 0.0;
  double CONRE = 0.0, FACTEC = 0.0, P0 = 0.0, OMEGA = 0.0, ETUTC = 0.0;
  double WGTPHA = 0.0, WGTCOD = 0.0, HREF = 0.0, PREF = 0.0, TREF = 0.0, HUMREF = 0.0;

  // Derived after reading: L1, L2, narrow-lane, L1 - L2, wide-lane.
  std::array<double, 5> waveLen{};
  std::array<std::array<double, 2>, kMaxSatSlots> satFreq{};     // per slot: FREQ1, FREQ2
  std::array<std::array<double, 5>, kMaxSatSlots> satWaveLen{};  // per slot: waveLen
};
extern Consts d_const;

}  // namespace framework
