// Writes one synthetic TRJFIT protocol and prints what EXTDEF should take from it.
//
//   gen_protocol FILE [seed=N] [sats=N] [iters=N] [layout=A|B] [noise=N] [ecl=N]
//                [passages=N] [truncate=N] [arc="START,END"]...
//
// Each arc= adds an arc window (the first replaces the default 2-day arc).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/protocol_gen.h"

namespace {

bool apply(bench::ProtocolSpec& spec, const std::string& arg, bool& firstArc) {
  const std::size_t eq = arg.find('=');
  if (eq == std::string::npos) return false;
  const std::string key = arg.substr(0, eq);
  const std::string value = arg.substr(eq + 1);
  const int n = std::atoi(value.c_str());
  if (key == "seed")
    spec.seed = static_cast<unsigned>(n);
  else if (key == "sats")
    spec.nSat = n;
  else if (key == "iters")
    spec.nIter = n;
  else if (key == "layout")
    spec.layout = value.empty() ? 'A' : value[0];
  else if (key == "noise")
    spec.noisePerTable = n;
  else if (key == "ecl")
    spec.nEcl = n;
  else if (key == "passages")
    spec.passages = n;
  else if (key == "truncate")
    spec.truncateRows = n;
  else if (key == "arc" && value.find(',') != std::string::npos) {
    if (firstArc) spec.arcs.clear();
    firstArc = false;
    spec.arcs.emplace_back(value.substr(0, value.find(',')), value.substr(value.find(',') + 1));
  } else {
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: gen_protocol FILE [key=value]...\n");
    return 2;
  }
  bench::ProtocolSpec spec;
  bool firstArc = true;
  for (int i = 2; i < argc; ++i) {
    if (!apply(spec, argv[i], firstArc)) {
      std::fprintf(stderr, "gen_protocol: unknown argument %s\n", argv[i]);
      return 2;
    }
  }
  const bench::Expected e = bench::write_protocol(argv[1], spec);
  if (e.lines == 0) {
    std::fprintf(stderr, "gen_protocol: cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("lines %lld\nsatellites %zu:", e.lines, e.satNum.size());
  for (std::size_t i = 0; i < e.satNum.size(); ++i) std::printf(" %d=%.3f", e.satNum[i], e.rms[i]);
  std::printf("\neclipsing %zu:", e.eclSat.size());
  for (std::size_t j = 0; j < e.eclSat.size(); ++j)
    std::printf(" %d=%ds", e.eclSat[j], e.longShadow[j]);
  std::printf("\n");
  return 0;
}
