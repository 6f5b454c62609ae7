#include "platform/fixed_text.h"
#include "satcrux/crx_query.h"
#include "satcrux/d_satcrx.h"

namespace satcrux {

int GTSATB(int maxbad, std::string_view filNam, std::vector<int>& satNum, std::vector<int>& kind1,
           std::vector<int>& kind2, std::vector<std::array<double, 2>>& window) {
  satNum.clear();
  kind1.clear();
  kind2.clear();
  window.clear();
  if (platform::is_blank(filNam)) return 0;
  read_if_other_file(filNam);
  static constexpr QueryTexts texts{"d_satcrx:gtsatb", "maxbad", "bad observation intervals",
                                    "Increase \"maxbad\" in module \"M_MAXDIM\"."};
  // Of the arc-split kinds only (4,2) also marks bad observations.
  const auto isBad = [](const t_crux& c) {
    return c.kind[0] != 0 && !(c.kind[0] == 4 && c.kind[1] != 2);
  };
  return collect(d_satcrx.satCrux, isBad, texts, maxbad, [&](const t_crux& c) {
    satNum.push_back(c.satNum);
    kind1.push_back(c.kind[0]);
    kind2.push_back(c.kind[1]);
    window.push_back(c.window);
  });
}

}  // namespace satcrux
