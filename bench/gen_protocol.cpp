// Writes one synthetic TRJFIT protocol and prints what EXTDEF should take from
// it: the line count, each satellite of arc 1's final table with its RMS, and
// the eclipsing satellites with their longest shadow. The keys are in kUsage.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "bench/protocol_gen.h"

namespace {

const char kUsage[] =
    "usage: gen_protocol FILE [key=value]...\n"
    "  seed=N          draws of the random numbers (1)\n"
    "  sats=N          GPS 1-32, then GLONASS 101, 102, ... (32)\n"
    "  systems=modern  the 136 satellites of six systems in table order (sats= ignored)\n"
    "  iters=N         iterations, the last one final (5)\n"
    "  layout=A|B      column layout of the RMS tables (A)\n"
    "  noise=N         residual lines behind every RMS table (40)\n"
    "  final-noise=N   the same behind the final tables (as noise=)\n"
    "  ecl=N           eclipsing satellites per arc (4)\n"
    "  passages=N      shadow passages of each eclipsing satellite (3)\n"
    "  truncate=N      the file ends after N rows of arc 1's final table (not cut)\n"
    "  arc=START,END   an arc window, times as YYYY-MM-DD HH:MM:SS; each adds an arc,\n"
    "                  the first replaces the default 2013-05-06 00:00:00,2013-05-08 00:00:00\n"
    "  outlier=SAT:RMS RMS metres more for satellite SAT (none)\n"
    "  rms=SAT:RMS     satellite SAT's RMS exactly RMS metres, nothing added\n"
    "  spread=FIRST-LAST:LOW:HIGH\n"
    "                  every satellite FIRST to LAST an RMS of its own between LOW\n"
    "                  and HIGH metres more: a noisy system\n"
    "outlier=, rms= and spread= may be repeated. RMS values are those of the final\n"
    "tables; earlier iterations are scaled up. Otherwise every satellite's final RMS\n"
    "lies between 0.010 and 0.050 m.\n";

// One key=value argument into plan; false for an unknown one.
bool apply(bench::ProtocolPlan& plan, const std::string& arg, bool& firstArc) {
  const std::size_t eq = arg.find('=');
  if (eq == std::string::npos) return false;
  const std::string key = arg.substr(0, eq);
  const std::string value = arg.substr(eq + 1);
  const std::pair<const char*, int bench::ProtocolPlan::*> ints[] = {
      {"sats", &bench::ProtocolPlan::nSat},
      {"iters", &bench::ProtocolPlan::nIter},
      {"noise", &bench::ProtocolPlan::noisePerTable},
      {"final-noise", &bench::ProtocolPlan::finalNoise},
      {"ecl", &bench::ProtocolPlan::nEcl},
      {"passages", &bench::ProtocolPlan::passages},
      {"truncate", &bench::ProtocolPlan::truncateRows}};
  for (const auto& [name, member] : ints) {
    if (key != name) continue;
    plan.*member = std::atoi(value.c_str());
    return true;
  }
  if (key == "seed") {
    plan.seed = static_cast<unsigned>(std::atoi(value.c_str()));
  } else if (key == "layout" && (value == "A" || value == "B")) {
    plan.layout = value[0];
  } else if (key == "systems" && value == "modern") {
    plan.sats = bench::modern_satellites();
  } else if (key == "outlier" && value.find(':') != std::string::npos) {
    plan.outliers.emplace_back(std::atoi(value.c_str()),
                               std::atof(value.substr(value.find(':') + 1).c_str()));
  } else if (key == "rms" && value.find(':') != std::string::npos) {
    plan.fixedRms.emplace_back(std::atoi(value.c_str()),
                               std::atof(value.substr(value.find(':') + 1).c_str()));
  } else if (key == "spread") {
    bench::ProtocolPlan::Spread sp;
    if (std::sscanf(value.c_str(), "%d-%d:%lf:%lf", &sp.first, &sp.last, &sp.low, &sp.high) != 4) {
      return false;
    }
    plan.spreads.push_back(sp);
  } else if (key == "arc" && value.find(',') != std::string::npos) {
    if (firstArc) plan.arcs.clear();
    firstArc = false;
    plan.arcs.emplace_back(value.substr(0, value.find(',')), value.substr(value.find(',') + 1));
  } else {
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  bench::ProtocolPlan plan;
  bool firstArc = true;
  for (int i = 2; i < argc; ++i) {
    if (!apply(plan, argv[i], firstArc)) {
      std::fprintf(stderr, "gen_protocol: unknown argument %s\n%s", argv[i], kUsage);
      return 2;
    }
  }
  const bench::Expected e = bench::write_protocol(argv[1], plan);
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
