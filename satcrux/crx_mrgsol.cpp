#include <algorithm>
#include <new>

#include "framework/opnfil.h"
#include "satcrux/d_satcrx.h"

namespace satcrux {
namespace {

// Epochs within 1.1 s of a window count as inside it.
constexpr double kTolerance = 1.2731481481481482E-5;

bool inside(double epoch, const std::array<double, 2>& window) {
  return window[0] - kTolerance <= epoch && epoch <= window[1] + kTolerance;
}

// crxOrig emptied, with room for one entry per manoeuvre of satCrux.
void prepare_orig(const t_satcrux& satCrux, t_satcrux& crxOrig) {
  std::vector<t_crux>().swap(crxOrig.crxLst);
  INIT_SATCRUX(crxOrig);
  const long long nMan = std::count_if(satCrux.crxLst.begin(), satCrux.crxLst.end(),
                                       [](const t_crux& c) { return c.kind[0] == 0; });
  int irc = 0;
  try {
    crxOrig.crxLst.reserve(static_cast<std::size_t>(nMan));
  } catch (const std::bad_alloc&) {
    irc = 1;
  }
  framework::ALCERR(irc, "crxOrig%crxlst", {nMan}, "d_satcrx:crx_mrgsol");
}

// Appends crx to list; the vector grows when the spare room is used up.
void append(t_satcrux& list, const t_crux& crx) {
  list.crxLst.push_back(crx);
  list.nCrx = static_cast<int>(list.crxLst.size());
}

// Moves manoeuvre i of the first n records onto the boundaries inside the
// bad observation windows of its satellite.
void move_manoeuvre(std::size_t i, std::size_t n, const std::vector<double>& boundary) {
  t_satcrux& list = d_satcrx.satCrux;
  for (std::size_t k = 0; k < n; ++k) {
    for (double b : boundary) {
      // Record i may have changed by an earlier boundary, and the list may
      // have grown: index afresh each time.
      const t_crux& bad = list.crxLst[k];
      const t_crux& man = list.crxLst[i];
      if (bad.satNum != man.satNum || bad.kind != std::array<int, 2>{3, 2} ||
          !inside(man.window[0], bad.window)) {
        break;
      }
      if (!inside(b, bad.window)) continue;
      if (b < man.window[0]) {
        t_crux copy = man;
        copy.window[0] = b;
        append(d_satcrx.crxOrig, copy);
        append(list, copy);
      }
      list.crxLst[i].kind = {4, 2};
      list.crxLst[i].window[0] = b;
    }
  }
}

}  // namespace

void CRX_MRGSOL(const std::vector<double>& boundary) {
  READ_CRUX(d_satcrx.satCrux);
  prepare_orig(d_satcrx.satCrux, d_satcrx.crxOrig);
  const std::size_t n = static_cast<std::size_t>(d_satcrx.satCrux.nCrx);
  for (std::size_t i = 0; i < n; ++i) {
    if (d_satcrx.satCrux.crxLst[i].kind[0] == 0) move_manoeuvre(i, n, boundary);
  }
}

}  // namespace satcrux
