// Stable ascending sort index.
#pragma once
#include <vector>

namespace timeutil {

// Sets index to n 1-based positions of values such that
// values[index[0]-1] <= values[index[1]-1] <= ...; equal values keep their
// input order. n <= 0 leaves index untouched; n beyond values.size() counts
// only the values there are.
void IORDUP(const std::vector<int>& values, int n, std::vector<int>& index);

}  // namespace timeutil
