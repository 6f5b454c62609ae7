// What FITCHK takes from one TRJFIT protocol, and the per-system editing
// thresholds with the names and letters of the satellite systems.
#pragma once
#include <array>
#include <string_view>

namespace orbit_check {

// Satellites, and eclipsing satellites, that one protocol extract holds: as
// many as the protocol's count fields can state (3 and 2 digits).
constexpr int kMaxSat = 999;
constexpr int kMaxEcl = 99;

// Satellite systems: 1 GPS, 2 GLONASS, 3 Galileo, 4 SBAS, 5 Compass, 6 QZSS.
constexpr int kMaxSys = 6;

// System names (written in 7 columns) and one-letter codes; index system - 1.
constexpr std::array<std::string_view, kMaxSys> kSystemName = {"GPS",  "GLONASS", "GALILEO",
                                                               "SBAS", "COMPASS", "QZSS"};
constexpr std::array<std::string_view, kMaxSys> kSystemLetter = {"G", "R", "E", "S", "C", "J"};

// System number of a satellite number: 1 for 1-99, 2 for 101-199, and so on.
constexpr int sat_system(int satNum) { return satNum / 100 + 1; }

// The result set of EXTDEF for one protocol. Entries 1..nSat (indices
// 0..nSat-1) of satNum and rms, and 1..nEcl of eclSat and longShadow, are
// the protocol's; a fresh extract is all zero.
struct ProtocolExtract {
  std::array<double, 2> window{};         // arc window, start and end (MJD)
  int nSat = 0;                           // satellite count
  std::array<int, kMaxSat> satNum{};      // satellite numbers, in table order
  std::array<double, kMaxSat> rms{};      // orbit-fit RMS (m), parallel to satNum
  int nEcl = 0;                           // eclipsing satellite count
  std::array<int, kMaxEcl> eclSat{};      // eclipsing satellite numbers, in block order
  std::array<int, kMaxEcl> longShadow{};  // longest shadow passage (s), parallel to eclSat
  int nArc = 0;                           // arc count of the arc table
};

// How the editing level of a system is found: factor x the mean RMS of its
// satellites, edited again without the outliers until none is found; or
// factor x their median RMS, in one pass, for systems of 3 satellites or more.
enum class EditRule { Mean, Median };

// The keyword values of the rules ("EDIT_RULE"), index EditRule.
constexpr std::array<std::string_view, 2> kEditRuleName = {"MEAN", "MEDIAN"};

// Editing factor (0: the system is off) and lower limit (m) per system, and
// the rule of the editing.
struct ThresholdTable {
  std::array<double, kMaxSys> factor{};
  std::array<double, kMaxSys> limit{};
  EditRule rule = EditRule::Mean;
};

}  // namespace orbit_check
