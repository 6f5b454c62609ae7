#include "bench/results_gen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "bench/protocol_gen.h"
#include "orbit_check/asplit.h"
#include "orbit_check/rms_summary.h"
#include "results/run_record.h"
#include "results/write_results.h"
#include "timeutil/jmt.h"

namespace bench {
namespace {

using orbit_check::kMaxSys;

// A value in [0, 1) for each (seed, a, b): the same on every platform and in
// any order of the calls.
double hash01(unsigned seed, long long a, long long b) {
  unsigned long long x = seed * 0x9E3779B97F4A7C15ull ^ static_cast<unsigned long long>(a) * 0xBF58476D1CE4E5B9ull ^
                         static_cast<unsigned long long>(b) * 0x94D049BB133111EBull;
  x ^= x >> 31;
  x *= 0xD6E8FEB86659FD93ull;
  x ^= x >> 29;
  x *= 0xCF1BBCDCB7A56F6Bull;
  x ^= x >> 32;
  return static_cast<double>(x >> 11) / 9007199254740992.0;
}

// Typical RMS (m) of each system: GPS, GLONASS, Galileo, SBAS, Compass, QZSS.
constexpr double kTypical[kMaxSys] = {0.020, 0.035, 0.022, 0.400, 0.060, 0.045};

bool holds(const std::vector<int>& v, int x) { return std::find(v.begin(), v.end(), x) != v.end(); }

bool present(const ResultsPlan& plan, int sat, int day) {
  if (sat == plan.appearSat && day < plan.appearFrom) return false;
  if (sat == plan.goneSat && day > plan.goneAfter) return false;
  return true;
}

double noisy_rms(const ResultsPlan& plan, unsigned seed, int sat, int day) {
  const int sys = std::clamp(orbit_check::sat_system(sat), 1, kMaxSys);
  double rms = kTypical[sys - 1] * (0.7 + 0.6 * hash01(plan.seed, sat, -1));
  if (sat > 400 && sat <= 405) rms *= 2.0;  // Compass GEO satellites
  rms *= std::exp(0.5 * (hash01(seed, sat, day) - 0.5));
  if (sat == plan.riseSat && day > plan.riseFrom && plan.days - 1 > plan.riseFrom) {
    rms *= 1.0 + (plan.riseFactor - 1.0) * (day - plan.riseFrom) / (plan.days - 1 - plan.riseFrom);
  }
  if (sat == plan.outlierSat && holds(plan.outlierDays, day)) rms *= 8.0;
  return std::max(0.001, std::round(rms * 1000.0) / 1000.0);
}

std::string two(int v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

// "yyddd" of the day's MJD.
std::string year_day(long long mjd) {
  int year = 0, month = 0;
  double day = 0.0;
  timeutil::JMT(static_cast<double>(mjd), year, month, day);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d%03lld", year % 100, orbit_check::day_of_year(static_cast<double>(mjd)));
  return buf;
}

std::string iso_day(long long mjd) { return results::iso_epoch(static_cast<double>(mjd)).substr(0, 10); }

orbit_check::ThresholdTable thresholds() {
  orbit_check::ThresholdTable t;
  t.factor = {3.0, 3.0, 3.0, 0.0, 3.0, 0.0};
  t.limit = {0.10, 0.15, 0.10, 0.0, 0.30, 0.0};
  return t;
}

results::ProtocolRecord protocol(const ResultsPlan& plan, const std::vector<int>& sats, unsigned seed,
                                 int day) {
  const long long mjd = plan.firstDay + day;
  const std::string yd = year_day(mjd);
  results::ProtocolRecord p;
  p.fileName = "${P}/ORB/OUT/TRJ" + yd + ".OUT";
  p.filePath = "/data/chain/ORB/OUT/TRJ" + yd + ".OUT";
  orbit_check::ProtocolExtract& e = p.extract;
  e.window = {static_cast<double>(mjd - 1), static_cast<double>(mjd + 1)};
  e.nArc = 1;
  for (int sat : sats) {
    if (!present(plan, sat, day) || e.nSat >= orbit_check::kMaxSat) continue;
    e.satNum[e.nSat] = sat;
    e.rms[e.nSat] = noisy_rms(plan, seed, sat, day);
    if (e.rms[e.nSat] > p.rmsMax) {
      p.rmsMax = e.rms[e.nSat];
      p.satMax = sat;
    }
    // About one satellite in twenty is in its eclipse season, changing monthly.
    if ((sat * 7 + mjd / 30) % 20 == 0 && e.nEcl < orbit_check::kMaxEcl) {
      e.eclSat[e.nEcl] = sat;
      e.longShadow[e.nEcl++] = 1800 + static_cast<int>(hash01(seed, sat, mjd) * 1800);
    }
    ++e.nSat;
  }
  p.statedCount = e.nSat;
  p.windowRead = e.window;
  p.doyStart = orbit_check::day_of_year(e.window[0]);
  p.doyEnd = orbit_check::day_of_year(e.window[1]);
  p.middleDay = (p.doyStart + p.doyEnd) / 2;
  return p;
}

results::RunRecord run_of_day(const ResultsPlan& plan, const std::vector<int>& sats, unsigned seed,
                              int day, int hour) {
  const long long mjd = plan.firstDay + day;
  results::RunRecord run;
  run.title = "Orbit fit check, arc " + iso_day(mjd - 1) + " to " + iso_day(mjd + 1);
  run.inputFile = "FITCHK.INP";
  run.inputPath = "/data/chain/FITCHK.INP";
  run.runStart = iso_day(mjd + 1) + "T" + two(hour) + ":30:00+00:00";
  run.optionsRead = true;
  run.tolRms = 0.5;
  run.thresholds = thresholds();
  run.protocols.push_back(protocol(plan, sats, seed, day));
  results::SplitRecord s;
  s.splitEpoch = static_cast<double>(mjd);
  orbit_check::edit_candidates(run.protocols[0].extract, run.thresholds, s.level, s.split);
  s.update.candidates = s.split.satNum;
  s.update.recordsWritten = s.split.count;
  s.update.crxName = "${P}/STA/SATCRUX.CRX";
  s.reportName = "${P}/ORB/OUT/ASP" + year_day(mjd) + ".LST";
  s.reportPath = "/data/chain/ORB/OUT/ASP" + year_day(mjd) + ".LST";
  s.crxPath = "/data/chain/STA/SATCRUX.CRX";
  run.split = s;
  return run;
}

std::string failed_run(results::RunRecord run) {
  results::ProtocolRecord& p = run.protocols[0];
  p.extract.nSat /= 2;
  p.complete = false;
  run.split.reset();
  const framework::Messages messages = {{" *** SR EXTDEF: READ FAILED",
                                         "                FILE NAME : " + p.fileName,
                                         "                IOSTAT    :      5",
                                         "                FILE UNIT :    999"}};
  return results::write_results(run, 2, messages);
}

bool write_file(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

void plant_faults(ResultsPlan& plan) {
  const int d = plan.days;
  plan.outlierSat = 7;
  plan.outlierDays = {d - 7, d - 6, d - 4, d - 3, d - 1};
  if (d < 30) return;
  plan.riseSat = 12;
  plan.riseFrom = d - 60;
  plan.riseFactor = 3.0;
  plan.gapDays = {d / 2, d / 2 + 1, d / 2 + 2, d / 2 + 3, d / 2 + 4};
  plan.failedDays = {d / 3};
  plan.duplicateDays = {d / 4};
  plan.damagedDays = {d / 5};
  plan.appearSat = 228;
  plan.appearFrom = d * 3 / 4;
  plan.goneSat = 124;
  plan.goneAfter = d / 2 - 1;
}

double planned_rms(const ResultsPlan& plan, int sat, int day) {
  if (!present(plan, sat, day) || holds(plan.gapDays, day) || holds(plan.failedDays, day)) return 0.0;
  if (holds(plan.duplicateDays, day)) return noisy_rms(plan, plan.seed + 1000, sat, day);
  if (holds(plan.damagedDays, day)) return 0.0;
  return noisy_rms(plan, plan.seed, sat, day);
}

std::vector<std::string> write_results_set(const std::string& folder, const ResultsPlan& plan) {
  const std::vector<int> sats = plan.sats.empty() ? modern_satellites() : plan.sats;
  std::vector<std::string> names;
  for (int day = 0; day < plan.days; ++day) {
    if (holds(plan.gapDays, day)) continue;
    const std::string name = "FIT" + year_day(plan.firstDay + day);
    const results::RunRecord run = run_of_day(plan, sats, plan.seed, day, 6);
    std::string text = holds(plan.failedDays, day) ? failed_run(run) : results::write_results(run, 0, {});
    if (holds(plan.damagedDays, day)) text.resize(text.size() / 2);
    if (!write_file(folder + "/" + name + ".JSON", text)) return {};
    names.push_back(name + ".JSON");
    if (!holds(plan.duplicateDays, day)) continue;
    const results::RunRecord again = run_of_day(plan, sats, plan.seed + 1000, day, 9);
    if (!write_file(folder + "/" + name + "B.JSON", results::write_results(again, 0, {}))) return {};
    names.push_back(name + "B.JSON");
  }
  return names;
}

}  // namespace bench
