#include "orbit_check/real_options.h"

#include <optional>
#include <string>

#include "input/ckoptr.h"
#include "input/d_inpkey.h"

namespace orbit_check {

const std::vector<RealOption>& real_options() {
  using U = OptionUse;
  static const std::vector<RealOption> list = {
      {"TOL_RMS", "Maximally tolerated RMS value", U::Tolerance, 0, false, "no tolerance check"},
      {"FAC_GPS", "Factor wrt mean RMS (GPS)", U::Factor, 0, false, "GPS is not edited"},
      {"FAC_GLO", "Factor wrt mean RMS (GLONASS)", U::Factor, 1, false, "GLONASS is not edited"},
      {"LIM_GPS", "Lower limit for RMS (GPS)", U::Limit, 0, false, "no lower limit"},
      {"LIM_GLO", "Lower limit for RMS (GLONASS)", U::Limit, 1, false, "no lower limit"},
      {"FAC_GAL", "Factor wrt mean RMS (GALILEO)", U::Factor, 2, true, "Galileo is not edited"},
      {"FAC_SBA", "Factor wrt mean RMS (SBAS)", U::Factor, 3, true, "SBAS is not edited"},
      {"FAC_COM", "Factor wrt mean RMS (COMPASS)", U::Factor, 4, true, "Compass is not edited"},
      {"FAC_QZS", "Factor wrt mean RMS (QZSS)", U::Factor, 5, true, "QZSS is not edited"},
      {"LIM_GAL", "Lower limit for RMS (GALILEO)", U::Limit, 2, true, "no lower limit"},
      {"LIM_SBA", "Lower limit for RMS (SBAS)", U::Limit, 3, true, "no lower limit"},
      {"LIM_COM", "Lower limit for RMS (COMPASS)", U::Limit, 4, true, "no lower limit"},
      {"LIM_QZS", "Lower limit for RMS (QZSS)", U::Limit, 5, true, "no lower limit"},
  };
  return list;
}

double read_real_option(const RealOption& option, int& irCode) {
  std::vector<std::string> value;
  int irc = 0;
  input::READKEYS(option.keyWord, value, irc);
  const std::optional<double> zero = 0.0, none;
  double result = 0.0;
  input::CKOPTR(1, option.keyWord, value, "FITCHK", option.descr, irc, irCode, zero,
                option.positive() ? none : zero, none, option.positive() ? zero : none, none,
                std::nullopt, std::nullopt, std::nullopt, std::nullopt, none, none, nullptr,
                nullptr, &result);
  return result;
}

}  // namespace orbit_check
