#include "bench/protocol_gen.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace bench {
namespace {

// A small generator of its own, so the files are the same on every platform.
class Random {
 public:
  explicit Random(unsigned seed) : state_(seed * 2654435761u + 1) {}
  double uniform() {  // [0, 1)
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<double>(state_ >> 11) / 9007199254740992.0;
  }
  int below(int n) { return static_cast<int>(uniform() * n); }

 private:
  unsigned long long state_;
};

class Writer {
 public:
  explicit Writer(const std::string& path) : fp_(std::fopen(path.c_str(), "w")) {}
  ~Writer() {
    if (fp_) std::fclose(fp_);
  }
  bool ok() const { return fp_ != nullptr; }
  void line(const char* format, ...) __attribute__((format(printf, 2, 3))) {
    va_list args;
    va_start(args, format);
    std::vfprintf(fp_, format, args);
    va_end(args);
    std::fputc('\n', fp_);
    ++lines_;
  }
  void blank() {
    std::fputc('\n', fp_);
    ++lines_;
  }
  long long lines() const { return lines_; }

 private:
  std::FILE* fp_;
  long long lines_ = 0;
};

std::vector<int> satellites(const ProtocolPlan& plan) {
  if (!plan.sats.empty()) return plan.sats;
  std::vector<int> sats;
  for (int i = 0; i < plan.nSat; ++i) sats.push_back(i < 32 ? i + 1 : 101 + (i - 32));
  return sats;
}

double added_rms(const ProtocolPlan& plan, int sat) {
  double add = 0.0;
  for (const auto& [number, rms] : plan.outliers) add += number == sat ? rms : 0.0;
  for (const ProtocolPlan::Spread& s : plan.spreads) {
    if (sat < s.first || sat > s.last) continue;
    Random own(plan.seed * 7919u + static_cast<unsigned>(sat));  // apart from the file's draws
    add += s.low + (s.high - s.low) * own.uniform();
  }
  return add;
}

void write_header(Writer& w, const ProtocolPlan& plan) {
  w.line(" %s", std::string(79, '=').c_str());
  w.line(" TRJFIT: ORBIT GENERATION AND FIT                           06-MAY-13 10:21");
  w.line(" %s", std::string(79, '=').c_str());
  w.blank();
  w.line(" OPTIONS");
  w.line(" -------");
  w.line(" MAXIMUM DEGREE OF GRAVITY FIELD      :  12");
  w.line(" SOLAR RADIATION PRESSURE MODEL       :   2");
  w.line("%-52s%3d", " NUMBER OF ITERATIONS                 :", plan.nIter);
  w.line(" NUMBER OF ARCS                       : %3zu", plan.arcs.size());
  w.blank();
  w.line(" ARC  START TIME           END TIME             #SAT");
  w.line(" ---  -------------------  -------------------  ----");
  w.blank();
  for (std::size_t a = 0; a < plan.arcs.size(); ++a) {
    w.line(" %3zu  %-19s  %-19s  %4d", a + 1, plan.arcs[a].first.c_str(),
           plan.arcs[a].second.c_str(), plan.nSat);
  }
  w.blank();
  w.line(" %s", std::string(52, '-').c_str());
  w.line(" TOTAL NUMBER OF SATELLITES   : %3d", plan.nSat);
  w.blank();
}

void write_noise(Writer& w, Random& r, int n, int arc) {
  for (int i = 0; i < n; ++i) {
    if (i % 500 == 0) {
      w.line(" %s", std::string(160, '-').c_str());
      continue;
    }
    const int minute = i % 1440;
    w.line("  RES %3d  ARC %2d  %02d:%02d:00  %9.4f %9.4f %9.4f", 1 + r.below(32), arc, minute / 60,
           minute % 60, r.uniform() * 0.2 - 0.1, r.uniform() * 0.2 - 0.1, r.uniform() * 0.2 - 0.1);
  }
}

// One RMS table; returns the RMS values as written. False when cut short.
bool write_table(Writer& w, Random& r, const ProtocolPlan& plan, int arc, int iter, int rows,
                 std::vector<double>& rms) {
  w.blank();
  w.line(" %-29s%14s%3d%30s%3d", "RMS ERRORS AND MAX. RESIDUALS", "ARC NUMBER:", arc,
         "ITERATION:", iter);
  w.blank();
  w.line(plan.layout == 'A' ? " SAT    #POS   RMS (M)   MAX. RESIDUALS (M)"
                            : " SAT   #POS   RMS (M)   MAX. RESIDUALS (M)");
  w.line(" %s", std::string(48, '-').c_str());
  const std::vector<int> sats = satellites(plan);
  rms.clear();
  for (int i = 0; i < plan.nSat; ++i) {
    if (i == rows) return false;
    // Later iterations fit better.
    double base = 0.01 + 0.04 * r.uniform() + added_rms(plan, sats[i]);
    for (const auto& [number, fixed] : plan.fixedRms) base = number == sats[i] ? fixed : base;
    const double value = std::round(base * (1.0 + 2.0 * (plan.nIter - iter)) * 1000.0) / 1000.0;
    rms.push_back(value);
    const char* format = plan.layout == 'A' ? " %3d    %4d   %6.3f   %7.3f %7.3f %7.3f"
                                            : " %3d   %4d   %6.3f   %7.3f %7.3f %7.3f";
    w.line(format, sats[i], 280 + r.below(9), value, value * 3, value * 4, value * 2);
  }
  w.blank();
  return true;
}

void write_eclipses(Writer& w, Random& r, const ProtocolPlan& plan, Expected* out) {
  w.line(" NUMBER OF ECLIPSING SATELLITES: %2d", plan.nEcl);
  w.blank();
  w.line(" SAT  START     DURATION (MIN:SEC)");
  w.line(" ---  --------  -----");
  w.blank();
  const std::vector<int> sats = satellites(plan);
  for (int j = 0; j < plan.nEcl; ++j) {
    const int sat = sats[static_cast<std::size_t>(j * 7) % sats.size()];
    int longest = 0;
    for (int k = 0; k < plan.passages; ++k) {
      const int seconds = 300 + r.below(3000);
      longest = std::max(longest, seconds);
      const int start = r.below(86400);
      // The satellite number stands on the first line of its block only.
      const std::string number = k == 0 ? std::to_string(sat) : "";
      w.line(" %3s  %02d:%02d:%02d   %2d:%02d", number.c_str(), start / 3600, start / 60 % 60,
             start % 60, seconds / 60, seconds % 60);
    }
    w.blank();
    if (out) {
      out->eclSat.push_back(sat);
      out->longShadow.push_back(longest);
    }
  }
}

}  // namespace

std::vector<int> modern_satellites() {
  std::vector<int> sats;
  const std::pair<int, int> ranges[] = {{1, 32}, {101, 124}, {201, 228}, {401, 445}, {501, 504}};
  for (const auto& [first, last] : ranges) {
    if (first == 401) sats.insert(sats.end(), {320, 323, 327});
    for (int s = first; s <= last; ++s) sats.push_back(s);
  }
  return sats;
}

Expected write_protocol(const std::string& path, const ProtocolPlan& given) {
  ProtocolPlan plan = given;
  if (!plan.sats.empty()) plan.nSat = static_cast<int>(plan.sats.size());
  Expected e;
  Writer w(path);
  if (!w.ok()) return e;
  Random r(plan.seed);
  write_header(w, plan);
  const int nArc = static_cast<int>(plan.arcs.size());
  for (int iter = 1; iter <= plan.nIter; ++iter) {
    for (int arc = 1; arc <= nArc; ++arc) {
      const bool final1 = iter == plan.nIter && arc == 1;
      std::vector<double> rms;
      if (!write_table(w, r, plan, arc, iter, final1 ? plan.truncateRows : -1, rms)) {
        e.rms = rms;
        break;
      }
      if (final1) e.rms = rms;
      const bool last = iter == plan.nIter && plan.finalNoise >= 0;
      write_noise(w, r, last ? plan.finalNoise : plan.noisePerTable, arc);
      if (iter == plan.nIter) write_eclipses(w, r, plan, final1 ? &e : nullptr);
    }
    if (iter == plan.nIter && plan.truncateRows >= 0) break;
  }
  e.satNum = satellites(plan);
  e.satNum.resize(e.rms.size());
  e.lines = w.lines();
  return e;
}

}  // namespace bench
