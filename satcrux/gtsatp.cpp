#include "satcrux/crx_query.h"
#include "satcrux/d_satcrx.h"

namespace satcrux {

int GTSATP(int maxpls, std::vector<int>& satNum, std::vector<double>& epoch) {
  satNum.clear();
  epoch.clear();
  read_on_first_call();
  static constexpr QueryTexts texts{"d_satcrx:gtsatp", "maxpls", "number of pulses events",
                                    "Increase \"maxman\" in module \"M_MAXDIM\"."};
  const auto isPulse = [](const t_crux& c) { return c.kind[0] == 4 && c.kind[1] == 4; };
  return collect(d_satcrx.satCrux, isPulse, texts, maxpls, [&](const t_crux& c) {
    satNum.push_back(c.satNum);
    epoch.push_back(c.window[0]);
  });
}

}  // namespace satcrux
