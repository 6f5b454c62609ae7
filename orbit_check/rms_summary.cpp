#include "orbit_check/rms_summary.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "platform/fortran_format.h"
#include "timeutil/djul.h"
#include "timeutil/jmt.h"
#include "timeutil/l_basfun.h"
#include "timeutil/stripdir.h"

namespace orbit_check {
namespace {

constexpr int kSummaryPerLine = 20;  // I4 values per summary line
constexpr int kWeekPerLine = 100;    // I4 values per week-format line

// Middle day of the rounded window.
long long round_window(std::array<double, 2>& window) {
  window[0] = std::trunc(window[0] + 0.001);
  window[1] = std::trunc(window[1] + 0.501);
  return (day_of_year(window[0]) + day_of_year(window[1])) / 2;
}

// Index of the largest RMS of entries 1..nSat; entry 1 for an empty table.
int largest_rms(const ProtocolExtract& ext) {
  int best = 0;
  for (int i = 1; i < std::min(ext.nSat, kMaxSat); ++i) {
    if (ext.rms[i] > ext.rms[best]) best = i;
  }
  return best;
}

// RMS (mm) of each eclipsing satellite: its last entry in the table, 0 without one.
std::array<int, kMaxEcl> eclipse_rms_mm(const ProtocolExtract& ext) {
  std::array<int, kMaxEcl> mm{};
  const int nSat = std::clamp(ext.nSat, 0, kMaxSat);
  for (int j = 0; j < std::clamp(ext.nEcl, 0, kMaxEcl); ++j) {
    for (int i = 0; i < nSat; ++i) {
      if (ext.satNum[i] == ext.eclSat[j]) mm[j] = timeutil::nint(ext.rms[i] * 1000.0);
    }
  }
  return mm;
}

// head, then the values as I4, perLine to a line; further lines begin with
// as many blanks as head is long.
template <class Values>
void write_values(int lfn, const std::string& head, int n, int perLine, const Values& value) {
  platform::Line line;
  line.A(head);
  for (int i = 0; i < n; ++i) {
    if (i > 0 && i % perLine == 0) {
      framework::write_line(lfn, line.str());
      line = platform::Line();
      line.X(static_cast<int>(head.size()));
    }
    line.I(value(i), 4);
  }
  framework::write_line(lfn, line.str());
}

void write_week_line(long long middleDay, const ProtocolExtract& ext) {
  const std::string head = platform::Line().X(1).I(middleDay, 3).str();
  write_values(framework::m_tolk.lfnAux2, head, std::clamp(ext.nSat, 0, kMaxSat), kWeekPerLine,
               [&](int i) { return timeutil::nint(ext.rms[i] * 100.0); });
}

void write_summary(std::string_view fileName, const ProtocolExtract& ext, long long middleDay,
                   double rmsMax, int satMax) {
  const int lfn = framework::m_tolk.lfnAux1;
  std::string name(fileName);
  timeutil::STRIPDIR(name);
  // Satellite count in columns 27-29, eclipsing count 46-47, RMS 60-65, satellite 76-78.
  platform::Line first;
  first.X(2).Ab(name, 15).X(1).A("# Sat.: ").I(ext.nSat, 3);
  first.A(" , # Eclipsing: ").I(ext.nEcl, 2).A(" , Max. RMS:").F(rmsMax, 6, 3);
  first.A(" for sat. ").I(satMax, 3);
  framework::write_line(lfn, first.str());
  const int nEcl = std::clamp(ext.nEcl, 0, kMaxEcl);
  const std::string doy =
      platform::Line().A("  (DOY: ").I(middleDay, 3).A(")").X(6).A("Eclips. Sat. : ").str();
  write_values(lfn, doy, nEcl, kSummaryPerLine, [&](int j) { return ext.eclSat[j]; });
  const std::string b18(18, ' ');
  write_values(lfn, b18 + "Min in eclips: ", nEcl, kSummaryPerLine,
               [&](int j) { return ext.longShadow[j] / 60; });
  const std::array<int, kMaxEcl> mm = eclipse_rms_mm(ext);
  write_values(lfn, b18 + "RMS (mm)     : ", nEcl, kSummaryPerLine, [&](int j) { return mm[j]; });
  framework::write_line(lfn, "");
}

}  // namespace

// Wide, as an open end (1e20) saturates the year and the day count.
long long day_of_year(double mjd) {
  int year = 0;
  int month = 0;
  double day = 0.0;
  timeutil::JMT(mjd, year, month, day);
  return static_cast<long long>(timeutil::nint(mjd - timeutil::DJUL(year, 1, 1.0))) + 1;
}

void PRINT_THRESHOLDS(const ThresholdTable& thresholds) {
  const int lfn = framework::m_tolk.lfnOut;
  // The median rule is named; its factor column is two wider.
  const bool median = thresholds.rule == EditRule::Median;
  const int w = median ? 21 : 19;
  auto heads = [w](std::string_view a, std::string_view b, std::string_view c) {
    return platform::Line().X(1).Ab(a, 7).X(2).Ab(b, w).X(2).Ab(c, 19).str();
  };
  const std::string title = median ? "THRESHOLD VALUES FOR RMS (EDIT_RULE MEDIAN)"
                                   : "THRESHOLD VALUES FOR RMS";
  framework::write_lines(lfn, {" " + title, " " + std::string(title.size(), '-')});
  const char* factorHead = median ? "FACTOR WRT MEDIAN RMS" : "FACTOR WRT MEAN RMS";
  framework::write_line(lfn, heads("SYSTEM", factorHead, "LOWER LIMIT FOR RMS"));
  framework::write_line(lfn, heads("-------", std::string(static_cast<std::size_t>(w), '-'),
                                   "-------------------"));
  for (int s = 0; s < kMaxSys; ++s) {
    if (thresholds.factor[s] == 0.0) continue;
    platform::Line line;
    line.X(1).Ab(kSystemName[s], 7).X(2).F(thresholds.factor[s], w - 7, 4);
    line.X(7).F(thresholds.limit[s], 14, 4).A(" m");
    framework::write_line(lfn, line.str());
  }
  framework::write_lines(lfn, {"", ""});
}

void SUMMARIZE_PROTOCOL(std::string_view fileName, const ProtocolExtract& extract,
                        std::array<double, 2>& window, double& rmsMax, int& satMax, bool weekOpen) {
  const long long middleDay = round_window(window);
  const int best = largest_rms(extract);
  rmsMax = extract.rms[best];
  satMax = extract.satNum[best];
  if (weekOpen) write_week_line(middleDay, extract);
  write_summary(fileName, extract, middleDay, rmsMax, satMax);
}

}  // namespace orbit_check
