#include "satcrux/crx_query.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/write_line.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"
#include "timeutil/timst2.h"

namespace satcrux {
namespace {

// Epochs closer than half a second are one manoeuvre.
constexpr double kSameEpoch = 5.787037037037037E-6;

[[noreturn]] void duplicate(std::string_view caller, int satNum, double firstEpoch) {
  std::string epochText(19, ' ');
  timeutil::TIMST2(1, 1, firstEpoch, epochText);
  const std::string blanks(16, ' ');
  framework::write_lines(
      framework::m_tolk.lfnMsg,
      {"", " *** SR " + std::string(caller) + ": Duplicated entries for maneuver",
       blanks + "Satellite number:  " + platform::fmt_i(satNum, 3),
       blanks + "Maneuver epoch:    " + epochText, ""});
  framework::EXITRC(2);
}

}  // namespace

void read_on_first_call() {
  if (d_satcrx.firstCall) READ_CRUX(d_satcrx.satCrux);
}

void read_if_other_file(std::string_view filNam) {
  // The list keeps its name left-justified.
  const std::size_t first = std::min(filNam.find_first_not_of(' '), filNam.size());
  if (d_satcrx.firstCall || !platform::same_text(filNam.substr(first), d_satcrx.satCrux.filNam)) {
    READ_CRUX(d_satcrx.satCrux, filNam);
  }
}

void check_room(const QueryTexts& texts, int count, int maximum) {
  int irc = 0;
  framework::DIMTST(1, 1, 2, texts.caller, texts.dimName, texts.what, texts.advice, count, maximum,
                    irc);
}

int collect_manoeuvres(const t_satcrux& list, const QueryTexts& texts, int maximum,
                       std::vector<int>& satNum, std::vector<double>& epoch) {
  satNum.clear();
  epoch.clear();
  // Epochs collected so far, per satellite in collection order, so that the
  // first one that matches is the one reported.
  std::unordered_map<int, std::vector<double>> seen;
  int count = 0;
  for (int i = 0; i < list.nCrx; ++i) {
    const t_crux& crx = list.crxLst[static_cast<std::size_t>(i)];
    if (crx.kind[0] != 0) continue;
    std::vector<double>& mine = seen[crx.satNum];
    for (double earlier : mine) {
      if (std::fabs(crx.window[0] - earlier) < kSameEpoch) {
        duplicate(texts.caller, crx.satNum, earlier);
      }
    }
    check_room(texts, ++count, maximum);
    mine.push_back(crx.window[0]);
    satNum.push_back(crx.satNum);
    epoch.push_back(crx.window[0]);
  }
  return count;
}

}  // namespace satcrux
