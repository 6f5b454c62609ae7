#include "satcrux/crx_query.h"
#include "satcrux/d_satcrx.h"

namespace satcrux {

int GTSATM(int maxman, std::vector<int>& satNum, std::vector<double>& epoch) {
  satNum.clear();
  epoch.clear();
  read_on_first_call();
  static constexpr QueryTexts texts{"d_satcrx:gtsatm", "maxman", "number of manoeuvres",
                                    "Increase \"maxman\" in module \"M_MAXDIM\"."};
  return collect_manoeuvres(d_satcrx.satCrux, texts, maxman, satNum, epoch);
}

}  // namespace satcrux
