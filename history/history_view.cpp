#include "history/history_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>

#include "timeutil/jmt.h"

namespace history {
namespace {

constexpr long long kFirstMjd = -678575;  // 0001-01-01
constexpr long long kLastMjd = 2973483;   // 9999-12-31

// Seconds since MJD 0 of an ISO 8601 time with offset; the lowest value for
// a text that is none.
double instant(const std::string& iso) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, oh = 0, om = 0;
  char sign = '+';
  if (std::sscanf(iso.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c%2d:%2d", &y, &mo, &d, &h, &mi, &s, &sign,
                  &oh, &om) != 9) {
    return -std::numeric_limits<double>::infinity();
  }
  // Days from the civil date (proleptic Gregorian), then to MJD.
  const int yy = mo <= 2 ? y - 1 : y;
  const int era = (yy >= 0 ? yy : yy - 399) / 400;
  const int yoe = yy - era * 400;
  const int doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const double days = era * 146097.0 + doe - 719468.0 + 40587.0;
  const double offset = (sign == '-' ? -1 : 1) * (oh * 3600.0 + om * 60.0);
  return days * 86400.0 + h * 3600.0 + mi * 60.0 + s - offset;
}

bool failed_run(const ResultsFile& f) {
  if (!f.verdict.empty()) return f.verdict == "error";
  return f.endedWithError();
}

bool usable_day(const ProtocolValues& p) {
  if (!p.hasWindow[0] || !p.hasWindow[1]) return false;
  const double m = p.middle();
  return m >= static_cast<double>(kFirstMjd) && m < static_cast<double>(kLastMjd + 1);
}

struct Candidate {
  const ResultsFile* file;
  const ProtocolValues* protocol;
  double when;
  std::size_t order;  // file order, then list order within the file
};

// The protocols of each day, the one that counts last.
std::map<long long, std::vector<Candidate>> candidates(std::vector<ResultsFile>& files,
                                                       std::vector<FailedDay>& failed) {
  std::map<long long, std::vector<Candidate>> byDay;
  std::size_t order = 0;
  for (ResultsFile& f : files) {
    if (!f.reason.empty()) continue;
    const bool error = f.endedWithError() || failed_run(f);
    bool any = false;
    for (const ProtocolValues& p : f.protocols) {
      if (!usable_day(p)) continue;
      any = true;
      if (error) failed.push_back({p.day(), &f});
      if (!failed_run(f)) byDay[p.day()].push_back({&f, &p, instant(f.runStart), order++});
    }
    if (failed_run(f)) {
      f.reason = "the run ended with an error (return code " + std::to_string(f.returnCode) + ")";
    } else if (!any) {
      f.reason = "no protocol with an arc window";
    }
  }
  for (auto& [day, list] : byDay) {
    std::stable_sort(list.begin(), list.end(), [](const Candidate& a, const Candidate& b) {
      return a.when != b.when ? a.when < b.when : a.order < b.order;
    });
  }
  std::sort(failed.begin(), failed.end(),
            [](const FailedDay& a, const FailedDay& b) { return a.day < b.day; });
  return byDay;
}

std::string same_day_line(long long day, const std::vector<Candidate>& list) {
  const Candidate& win = list.back();
  std::string line = "same day: " + date_text(day) + ": " + win.file->path + " (run " +
                     win.file->runStart + ") counts, not ";
  for (std::size_t i = 0; i + 1 < list.size(); ++i) {
    line += (i ? ", " : "") + list[i].file->path + " (run " + list[i].file->runStart + ")";
  }
  return line;
}

void fill(HistoryView& v) {
  std::map<int, int> rowOf;
  for (const DayEntry& d : v.days) {
    for (const SatValue& s : d.protocol->sats) rowOf[s.number] = 0;
  }
  for (auto& [sat, row] : rowOf) {
    row = static_cast<int>(v.sats.size());
    v.sats.push_back(sat);
  }
  v.rms.assign(v.days.size() * v.sats.size(), 0.0);
  v.flags.assign(v.days.size() * v.sats.size(), 0);
  for (std::size_t d = 0; d < v.days.size(); ++d) {
    for (const SatValue& s : v.days[d].protocol->sats) {
      const std::size_t i = v.at(d, static_cast<std::size_t>(rowOf[s.number]));
      // A satellite listed twice: its larger RMS, as the run's heat map shows it.
      if (!s.hasRms || ((v.flags[i] & kHas) && v.rms[i] >= s.rms)) continue;
      v.rms[i] = s.rms;
      v.flags[i] = static_cast<unsigned char>(kHas | (s.split ? kSplit : 0) | (s.eclipsing ? kEclipsing : 0));
    }
  }
}

}  // namespace

int HistoryView::row(int sat) const {
  const auto it = std::lower_bound(sats.begin(), sats.end(), sat);
  return it != sats.end() && *it == sat ? static_cast<int>(it - sats.begin()) : -1;
}

int HistoryView::system(std::size_t r) const { return system_of(sats[r]); }

int system_of(int sat) { return sat >= 0 && sat < 600 ? sat / 100 + 1 : 0; }

std::string system_name(int sys) {
  static const char* const kNames[] = {"other", "GPS", "GLONASS", "GALILEO", "SBAS", "COMPASS", "QZSS"};
  return kNames[sys >= 1 && sys <= kSystems ? sys : 0];
}

std::string system_letter(int sys) {
  static const char* const kLetters[] = {"", "G", "R", "E", "S", "C", "J"};
  return kLetters[sys >= 1 && sys <= kSystems ? sys : 0];
}

std::string date_text(long long mjd) {
  int year = 0, month = 0;
  double day = 0.0;
  timeutil::JMT(static_cast<double>(mjd) + 0.5, year, month, day);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, static_cast<int>(day));
  return buf;
}

double median(std::vector<float>& values) {
  if (values.empty()) return 0.0;
  const std::size_t mid = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid), values.end());
  const double upper = values[mid];
  if (values.size() % 2 == 1) return upper;
  const double lower = *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid));
  return (lower + upper) / 2;
}

std::vector<std::array<float, kSystems + 1>> daily_medians(const HistoryView& v) {
  std::vector<std::array<float, kSystems + 1>> out(v.days.size());
  std::array<std::vector<float>, kSystems + 1> bySystem;
  for (std::size_t d = 0; d < v.days.size(); ++d) {
    for (auto& values : bySystem) values.clear();
    for (std::size_t r = 0; r < v.sats.size(); ++r) {
      if (v.has(d, r)) bySystem[static_cast<std::size_t>(v.system(r))].push_back(static_cast<float>(v.rms[v.at(d, r)]));
    }
    for (int s = 1; s <= kSystems; ++s) {
      out[d][static_cast<std::size_t>(s)] = static_cast<float>(median(bySystem[static_cast<std::size_t>(s)]));
    }
  }
  return out;
}

HistoryView build_view(std::vector<ResultsFile>& files) {
  HistoryView v;
  for (const auto& [day, list] : candidates(files, v.failed)) {
    v.days.push_back({day, list.back().file, list.back().protocol});
    if (list.size() > 1) v.sameDay.push_back(same_day_line(day, list));
  }
  if (!v.days.empty()) {
    v.first = v.days.front().day;
    v.last = v.days.back().day;
  }
  fill(v);
  return v;
}

}  // namespace history
