#include "satcrux/crx_query.h"
#include "satcrux/d_satcrx.h"

namespace satcrux {

int GTSATS(int maxspl, std::vector<int>& satNum, std::vector<double>& epoch) {
  satNum.clear();
  epoch.clear();
  read_on_first_call();
  static constexpr QueryTexts texts{"d_satcrx:gtsats", "maxspl", "number of arc split events",
                                    "Increase \"maxman\" in module \"M_MAXDIM\"."};
  const auto isArcSplit = [](const t_crux& c) {
    return c.kind[0] == 4 && (c.kind[1] == 0 || c.kind[1] == 2);
  };
  return collect(d_satcrx.satCrux, isArcSplit, texts, maxspl, [&](const t_crux& c) {
    satNum.push_back(c.satNum);
    epoch.push_back(c.window[0]);
  });
}

}  // namespace satcrux
