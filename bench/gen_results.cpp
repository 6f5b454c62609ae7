// Writes a set of daily FITCHK results files for the history view.
//
//   gen_results FOLDER [days=365] [first=MJD] [seed=1] [planted=1]
//
// With planted=1 (the default) the set holds a satellite drifting upward
// (GPS 12, from two thirds of the span on), an outlier on 5 of the last 7
// days (GPS 7), a gap of 5 days, a failed run, a duplicated day and a
// damaged file; the Galileo satellite 228 appears in the last quarter and
// the GLONASS satellite 124 is gone after the first half.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/results_gen.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: gen_results FOLDER [days=365] [first=MJD] [seed=1] [planted=1]\n", stderr);
    return 2;
  }
  bench::ResultsPlan plan;
  bool planted = true;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    const std::string v = a.substr(a.find('=') + 1);
    if (a.rfind("days=", 0) == 0) plan.days = std::atoi(v.c_str());
    if (a.rfind("first=", 0) == 0) plan.firstDay = std::atoll(v.c_str());
    if (a.rfind("seed=", 0) == 0) plan.seed = static_cast<unsigned>(std::atoi(v.c_str()));
    if (a == "planted=0") planted = false;
  }
  if (planted) bench::plant_faults(plan);
  const auto names = bench::write_results_set(argv[1], plan);
  if (names.empty()) {
    std::fprintf(stderr, "gen_results: cannot write into %s\n", argv[1]);
    return 1;
  }
  std::printf("%zu results files in %s\n", names.size(), argv[1]);
  return 0;
}
