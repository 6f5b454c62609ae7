#include "orbit_check/split_report.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/d_pgmid.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "orbit_check/real_options.h"
#include "orbit_check/value_rows.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"
#include "timeutil/jmt.h"

namespace orbit_check {
namespace {

constexpr int kValuesPerLine = 100;

// With the median rule a system of factor not 0 whose level is 0 had too
// few satellites: it was not edited.
bool median_not_edited(const ThresholdTable& thr, const std::array<double, kMaxSys>& level,
                       int s) {
  return thr.rule == EditRule::Median && level[s] == 0.0;
}

void print_system_table(const ThresholdTable& thr, const std::array<double, kMaxSys>& level) {
  const int lfn = framework::m_tolk.lfnOut;
  const bool median = thr.rule == EditRule::Median;
  if (median) {
    framework::write_lines(lfn, {" SYSTEM   COMPUTED MEDIAN RMS  EDITING LEVEL",
                                 " -------  -------------------  -------------"});
  } else {
    framework::write_lines(lfn, {" SYSTEM   COMPUTED MEAN RMS  EDITING LEVEL",
                                 " -------  -----------------  -------------"});
  }
  for (int s = 0; s < kMaxSys; ++s) {
    if (thr.factor[s] == 0.0) continue;
    platform::Line line;
    line.X(1).Ab(kSystemName[s], 7).X(2);
    if (median_not_edited(thr, level, s)) {
      line.A("not edited: fewer than " + std::to_string(kMinMedianSats) + " satellites");
    } else {
      line.F(level[s] / thr.factor[s] * 1000.0, median ? 14 : 12, 1).A(" mm").X(2);
      line.F(level[s] * 1000.0, 10, 1).A(" mm");
    }
    framework::write_line(lfn, line.str());
  }
  framework::write_lines(lfn, {"", ""});
}

void print_satellite_table(const ProtocolExtract& ext, const SplitList& split) {
  const int lfn = framework::m_tolk.lfnOut;
  framework::write_lines(lfn, {platform::Line().X(1).A("Sat.", 4).X(2).A("RMS (mm)").str(),
                               " ----  ---------"});
  for (int i = 0; i < ext.nSat && i < kMaxSat; ++i) {
    platform::Line line;
    line.X(1).I(ext.satNum[i], 4).X(2).F(ext.rms[i] * 1000.0, 7, 1);
    for (int sat : split.satNum) {
      if (sat == ext.satNum[i]) line.A(" *");
    }
    framework::write_line(lfn, line.str());
  }
}

std::string mean_line(const ThresholdTable& thr, const std::array<double, kMaxSys>& level) {
  platform::Line line;
  line.A(thr.rule == EditRule::Median ? "Median RMS and editing level (EDIT_RULE MEDIAN):"
                                      : "Mean RMS and editing level:");
  for (int s = 0; s < kMaxSys; ++s) {
    if (thr.factor[s] == 0.0) continue;
    line.X(1).A(kSystemLetter[s]);
    if (median_not_edited(thr, level, s)) {
      line.A(" not edited").X(1);
      continue;
    }
    line.F(level[s] / thr.factor[s], 6, 3).A("/").F(level[s], 6, 3).X(1);
  }
  return line.str();
}

// A factor as the input file would give it ("3", "2.5").
std::string factor_text(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return buf;
}

// The factor and limit keywords of system s ("FAC_SBA", "LIM_SBA").
std::string option_key(OptionUse use, int s) {
  for (const RealOption& o : real_options()) {
    if (o.use == use && o.sys == s) return o.keyWord;
  }
  return std::string();
}

void not_editable_warning(const ThresholdTable& thr, int s, int count) {
  const std::string name(kSystemName[s]), b16(16, ' ');
  const std::string factor = factor_text(thr.factor[s]);
  const std::string counts = b16 + "Satellites: " + std::to_string(count) + ", factor " +
                             option_key(OptionUse::Factor, s) + ": " + factor;
  const std::string needs = std::to_string(kMinMedianSats);
  if (thr.rule == EditRule::Median) {
    framework::write_lines(
        framework::m_tolk.lfnMsg,
        {"", " ### PG FITCHK: " + name + " is not edited: the median rule needs " + needs +
                 " satellites",
         counts, b16 + "No satellite of " + name + " is split.", ""});
    return;
  }
  framework::write_lines(
      framework::m_tolk.lfnMsg,
      {"", " ### PG FITCHK: No " + name + " satellite can reach the editing level of the mean rule",
       counts, b16 + "A satellite reaches factor x mean RMS only when its system has more",
       b16 + "satellites than the factor (the mean holds the satellite's own RMS).",
       b16 + "Use a factor below " + factor + " with a lower limit (" +
           option_key(OptionUse::Limit, s) + "), or EDIT_RULE \"MEDIAN\".",
       ""});
}

// The run title with the run date and time in columns 65-80.
std::string title_line() {
  const framework::PgmId& id = framework::d_pgmid;
  std::string t = platform::pad(id.runTitle, 80);
  t.replace(64, 16, " " + platform::pad(id.runDate, 9) + " " + platform::pad(id.runTime, 5));
  return t;
}

}  // namespace

void warn_not_editable(const std::array<SystemEditing, kMaxSys>& editing,
                       const ThresholdTable& thresholds) {
  for (int s = 0; s < kMaxSys; ++s) {
    const SystemEditing& e = editing[static_cast<std::size_t>(s)];
    if (thresholds.factor[s] != 0.0 && e.count > 0 && !e.editable) {
      not_editable_warning(thresholds, s, e.count);
    }
  }
}

void print_split_tables(const ProtocolExtract& ext, const ThresholdTable& thresholds,
                        const std::array<double, kMaxSys>& level, const SplitList& split,
                        bool recorded) {
  print_system_table(thresholds, level);
  print_satellite_table(ext, split);
  if (recorded) return;
  framework::write_lines(framework::m_tolk.lfnOut,
                         {"", " No arc-split record written for the satellites marked *: no place in "
                              "the satellite problem file."});
}

void write_split_report(int lfn, const ThresholdTable& thresholds,
                        const std::array<double, kMaxSys>& level, const SplitList& split,
                        double splitEpoch, const std::string& crxName,
                        const std::string& protocolName, bool recorded) {
  int year = 0, month = 0;
  double day = 0.0;
  timeutil::JMT(splitEpoch, year, month, day);
  framework::write_lines(
      lfn, {title_line(), mean_line(thresholds, level),
            platform::Line()
                    .A(recorded ? "Arc splitting for" : "No arc-split record for").I(split.count, 3)
                    .A(" sat. on ").I(year, 4, 4).A("-").I(month, 2, 2).A("-")
                    .I(std::lround(day), 2, 2).A(recorded ? " in " : ": no place in ")
                    .str() + std::string(platform::rtrim(crxName)),
            "based on " + std::string(platform::rtrim(protocolName))});
  if (split.count <= 0) return;
  std::vector<long long> sats(split.satNum.begin(), split.satNum.end());
  std::vector<long long> mm;
  for (double r : split.rms) mm.push_back(std::llround(r * 1000.0));
  for (const std::string& row : value_rows("  Sat.    :", sats, 4, kValuesPerLine)) {
    framework::write_line(lfn, row);
  }
  for (const std::string& row : value_rows("  RMS (mm):", mm, 4, kValuesPerLine)) {
    framework::write_line(lfn, row);
  }
}

}  // namespace orbit_check
