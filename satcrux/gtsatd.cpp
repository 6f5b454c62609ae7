#include "platform/fixed_text.h"
#include "satcrux/crx_query.h"
#include "satcrux/d_satcrx.h"

namespace satcrux {

int GTSATD(int maxDel, std::string_view filNam, std::vector<int>& satNum,
           std::vector<std::array<double, 2>>& window) {
  satNum.clear();
  window.clear();
  if (platform::is_blank(filNam)) return 0;
  read_if_other_file(filNam);
  static constexpr QueryTexts texts{"d_satcrx:gtsatd", "maxDel", "pulse deletion intervals",
                                    "Increase \"maxbad\" in module \"M_MAXDIM\"."};
  const auto isDeletion = [](const t_crux& c) { return c.kind[0] == 4 && c.kind[1] == 5; };
  return collect(d_satcrx.satCrux, isDeletion, texts, maxDel, [&](const t_crux& c) {
    satNum.push_back(c.satNum);
    window.push_back(c.window);
  });
}

}  // namespace satcrux
