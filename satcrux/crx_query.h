// Steps the satellite problem queries share: reading the list on first use,
// the room check of each count, and the duplicate test of manoeuvres.
#pragma once
#include <string_view>
#include <vector>

#include "satcrux/d_satcrx.h"

namespace satcrux {

// The DIMTST texts of one query; caller also names the routine in messages.
struct QueryTexts {
  std::string_view caller;
  std::string_view dimName;
  std::string_view what;
  std::string_view advice;
};

// Which records a query returns.
using Selection = bool (*)(const t_crux&);

// Reads satCrux from the "SATCRUX" file while the first-call flag is set.
void read_on_first_call();

// Reads satCrux from filNam while the first-call flag is set or the list
// came from another file.
void read_if_other_file(std::string_view filNam);

// Entry number count must fit maximum: else the DIMTST message and the end
// of the run.
void check_room(const QueryTexts& texts, int count, int maximum);

// Calls store for every record of list that sel passes, in list order, each
// after its room check; returns how many there were.
template <class Store>
int collect(const t_satcrux& list, Selection sel, const QueryTexts& texts, int maximum,
            Store store) {
  int count = 0;
  for (int i = 0; i < list.nCrx; ++i) {
    const t_crux& crx = list.crxLst[static_cast<std::size_t>(i)];
    if (!sel(crx)) continue;
    check_room(texts, ++count, maximum);
    store(crx);
  }
  return count;
}

// The manoeuvres (first code 0) of list into satNum and epoch, cleared
// first; one less than 0.5 s from an earlier one of its satellite ends the
// run with the duplicate message under texts.caller. Returns the count.
int collect_manoeuvres(const t_satcrux& list, const QueryTexts& texts, int maximum,
                       std::vector<int>& satNum, std::vector<double>& epoch);

}  // namespace satcrux
