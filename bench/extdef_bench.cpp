// Times EXTDEF on large synthetic protocols against `wc -l` on the same
// files, in one run, and checks every extract against what was written.
//
//   extdef_bench [files=20] [noise=18000] [repeats=3] [dir=/tmp]
//
// Each protocol has 6 iterations with `noise` residual lines behind every
// RMS table, so every search stays within its 100 000-line limit and the
// reader goes through the whole file.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/protocol_gen.h"
#include "orbit_check/extdef.h"
#include "platform/units.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
  int files = 20;
  int noise = 18000;
  int repeats = 3;
  std::string dir = "/tmp";
};

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const std::string v = a.substr(a.find('=') + 1);
    if (a.rfind("files=", 0) == 0) o.files = std::max(1, std::atoi(v.c_str()));
    if (a.rfind("noise=", 0) == 0) o.noise = std::max(0, std::atoi(v.c_str()));
    if (a.rfind("repeats=", 0) == 0) o.repeats = std::max(1, std::atoi(v.c_str()));
    if (a.rfind("dir=", 0) == 0) o.dir = v;
  }
  return o;
}

bool matches(const orbit_check::ProtocolExtract& x, const bench::Expected& e, int irc) {
  if (irc != 0 || x.nSat != static_cast<int>(e.satNum.size())) return false;
  if (x.nEcl != static_cast<int>(e.eclSat.size())) return false;
  for (int i = 0; i < x.nSat; ++i) {
    if (x.satNum[i] != e.satNum[i] || std::abs(x.rms[i] - e.rms[i]) > 1e-9) return false;
  }
  for (int j = 0; j < x.nEcl; ++j) {
    if (x.eclSat[j] != e.eclSat[j] || x.longShadow[j] != e.longShadow[j]) return false;
  }
  return true;
}

// Seconds for one EXTDEF pass over all files; false when an extract is wrong.
bool time_extdef(const std::vector<std::string>& files, const std::vector<bench::Expected>& exp,
                 double& seconds) {
  const auto t0 = Clock::now();
  bool ok = true;
  for (std::size_t f = 0; f < files.size(); ++f) {
    orbit_check::ProtocolExtract x;
    int irc = 0;
    orbit_check::EXTDEF(files[f], 1, x.window, x.nSat, x.satNum, x.rms, x.nEcl, x.eclSat,
                        x.longShadow, x.nArc, irc);
    ok = matches(x, exp[f], irc) && ok;
  }
  seconds = std::chrono::duration<double>(Clock::now() - t0).count();
  return ok;
}

// Seconds for `wc -l` over all files; total its lines.
double time_wc(const std::vector<std::string>& files, long long& lines) {
  std::string cmd = "wc -l";
  for (const auto& f : files) cmd += " '" + f + "'";
  const auto t0 = Clock::now();
  std::FILE* p = popen(cmd.c_str(), "r");
  lines = 0;
  char buf[4096];
  long long n = 0;
  while (p && std::fgets(buf, sizeof buf, p)) {
    if (std::sscanf(buf, "%lld", &n) == 1 && files.size() == 1) lines = n;
    if (std::string(buf).find(" total") != std::string::npos) lines = n;
  }
  if (p) pclose(p);
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

// Seconds for a bare loop of platform::read_record over all files.
double time_read_record(const std::vector<std::string>& files) {
  const auto t0 = Clock::now();
  std::string line;
  for (const auto& f : files) {
    if (platform::open_unit(998, f, platform::OpenStatus::Old, true) != 0) continue;
    while (platform::read_record(998, line, 150) == platform::ReadStatus::Ok) {
    }
    platform::close_unit(998);
  }
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

// Writes the protocols into folder; returns their line count.
long long make_protocols(const Options& o, const std::string& folder,
                         std::vector<std::string>& files, std::vector<bench::Expected>& expected) {
  long long written = 0;
  for (int f = 0; f < o.files; ++f) {
    bench::ProtocolPlan plan;
    plan.seed = static_cast<unsigned>(f + 1);
    plan.nSat = 40 + f % 20;
    plan.nIter = 6;
    plan.layout = f % 2 ? 'B' : 'A';
    plan.noisePerTable = o.noise;
    plan.nEcl = 12;
    plan.outliers = {{4, 0.2}};  // GPS 4 high
    files.push_back(folder + "/p" + std::to_string(f) + ".prt");
    expected.push_back(bench::write_protocol(files.back(), plan));
    written += expected.back().lines;
  }
  return written;
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = parse(argc, argv);
  std::string tmpl = o.dir + "/extdef_bench_XXXXXX";
  if (!mkdtemp(tmpl.data())) {
    std::fprintf(stderr, "extdef_bench: cannot make a folder in %s\n", o.dir.c_str());
    return 1;
  }
  std::vector<std::string> files;
  std::vector<bench::Expected> expected;
  const long long written = make_protocols(o, tmpl, files, expected);

  double best = 1e30, bestWc = 1e30, bestRead = 1e30;
  long long wcLines = 0;
  bool ok = true;
  for (int r = 0; r < o.repeats; ++r) {
    double s = 0;
    ok = time_extdef(files, expected, s) && ok;
    best = std::min(best, s);
    bestWc = std::min(bestWc, time_wc(files, wcLines));
    bestRead = std::min(bestRead, time_read_record(files));
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("protocols          : %d files, %lld lines (wc -l: %lld)\n", o.files, written,
              wcLines);
  std::printf("EXTDEF             : %8.3f s  %12.0f lines/s\n", best, written / best);
  std::printf("read_record loop   : %8.3f s  %12.0f lines/s\n", bestRead, written / bestRead);
  std::printf("wc -l              : %8.3f s  %12.0f lines/s\n", bestWc, written / bestWc);
  std::printf("EXTDEF / wc -l time: %8.2f\n", best / bestWc);
  std::printf("max resident memory: %ld kB\n", usage.ru_maxrss);
  std::printf("extracts           : %s\n", ok ? "all as written" : "WRONG");
  std::error_code ec;
  std::filesystem::remove_all(tmpl, ec);
  return ok ? 0 : 1;
}
