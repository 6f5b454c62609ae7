#include "timeutil/iordup.h"

#include <algorithm>
#include <limits>

namespace timeutil {
namespace {

// The next position after (last, lastPos): the first later position holding
// last, else the first position of the smallest value above last.
int next_position(const std::vector<int>& values, int n, long long last, int lastPos) {
  int chosen = 0;
  for (int i = 1; i <= n; ++i) {
    const int v = values[i - 1];
    if (i > lastPos && v == last) return i;
    if (v > last && (chosen == 0 || v < values[chosen - 1])) chosen = i;
  }
  return chosen;
}

}  // namespace

void IORDUP(const std::vector<int>& values, int n, std::vector<int>& index) {
  n = std::min<long long>(n, static_cast<long long>(values.size()));
  if (n <= 0) return;
  index.assign(n, 0);
  // Starting below every int lets the extreme ints sort like any other value.
  long long last = static_cast<long long>(std::numeric_limits<int>::min()) - 1;
  int lastPos = 0;
  for (int k = 0; k < n; ++k) {
    index[k] = next_position(values, n, last, lastPos);
    lastPos = index[k];
    last = values[lastPos - 1];
  }
}

}  // namespace timeutil
