#include "results/run_record.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "framework/exitrc.h"
#include "framework/m_msglog.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/wrterr.h"
#include "input/d_inpkey.h"
#include "input/gtflna.h"
#include "orbit_check/rms_summary.h"
#include "platform/clock.h"
#include "platform/file_identity.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"
#include "platform/replace_file.h"
#include "platform/units.h"
#include "results/number_text.h"
#include "results/write_plot.h"
#include "results/write_results.h"
#include "timeutil/jmt.h"
#include "timeutil/l_basfun.h"

namespace results {

RunRecord d_runrec;

namespace {

std::string first_value(const char* keyWord) {
  if (!input::TSTKEY(keyWord)) return {};
  std::vector<std::string> value;
  int irc = 0;
  input::READKEYS(keyWord, value, irc);
  return value.empty() ? std::string() : std::string(platform::rtrim(value[0]));
}

std::string two(int v) { return platform::fmt_i(v, 2, 2); }

std::string iso_now() {
  const platform::LocalTime t = platform::local_now();
  const int off = std::abs(t.utc_offset_min);
  return platform::fmt_i(t.year, 4, 4) + "-" + two(t.month) + "-" + two(t.day) + "T" + two(t.hour) +
         ":" + two(t.minute) + ":" + two(t.second) + (t.utc_offset_min < 0 ? "-" : "+") +
         two(off / 60) + ":" + two(off % 60);
}

// Writes the file path (name as given) as a whole with the content that
// make gives for a return code; returns the return code after it. Left-over
// new files of a killed run are removed first. A failure is reported and
// gives return code 2; the file is then written again with that code, or
// removed, so that it never tells another end than the run's. Once more
// (again) only a file that is still there is written: one listed for
// deletion stays deleted.
template <typename Make>
int write_named(const std::string& name, const std::string& path, int ircode, bool again,
                Make make) {
  if (again) {
    bool exists = false;
    int unit = 0;
    if (platform::inquire_file(path, exists, unit) != 0 || !exists) return ircode;
  } else {
    platform::remove_leftovers(path);
  }
  const int status = platform::replace_file(path, make(ircode));
  if (status == 0) return ircode;
  framework::report_write_failure(framework::m_tolk.lfnMsg, framework::m_tolk.lfnWork, status,
                                  name, "FITCHK");
  const int rc = ircode == 0 || ircode == 1 ? 2 : ircode;
  bool replaced = false;
  if (platform::replace_file(path, make(rc), &replaced) != 0 && !replaced) {
    platform::remove_file(path);
  }
  return rc;
}

std::string satellite_list(const std::vector<int>& sats) {
  std::string text;
  for (int s : sats) text += (text.empty() ? "" : ", ") + std::to_string(s);
  return text;
}

std::string metres(double v) { return fixed_text(v, 3) + " m"; }

std::string no_check_text(const RunRecord& run) {
  if (run.tolerance && run.tolerance->tolerance > 0.0) {
    if (run.protocols.empty()) return "No check made: the run has no protocol";
    const ProtocolRecord& last = run.protocols.back();
    if (last.extract.nSat == 0) return "No check made: the last protocol gave no RMS value";
    return "No check made: " + std::to_string(last.extract.nSat) + " of " +
           std::to_string(last.statedCount) + " satellites of the last protocol read";
  }
  if (run.tolerance) return "No check made: TOL_RMS is 0";
  if (run.protocols.size() != 1) {
    return "No check made: arc splitting needs one protocol, the run has " +
           std::to_string(run.protocols.size());
  }
  const auto& w = run.protocols[0].extract.window;
  const long days = std::lround(w[1] - w[0]);
  if (days == 2) return "No check made: the protocol gave no RMS value";
  return "No check made: the arc is " + std::to_string(days) + " days long, arc splitting needs 2";
}

std::string split_text(const RunRecord& run, int ircode) {
  const SplitRecord& s = *run.split;
  std::string date = iso_epoch(s.splitEpoch).substr(0, 10);
  std::string known;
  if (!s.update.dropped.empty()) {
    known = satellite_list(s.update.dropped) + " already split in the satellite problem file";
  }
  if (run_verdict(run, ircode) == Verdict::NoneSplit) {
    return known.empty() ? "No satellite split: none reaches the editing level and lower limit"
                         : "No new arc split: " + known;
  }
  const int n = s.split.count;
  return std::to_string(n) + (n == 1 ? " satellite" : " satellites") + " split on " + date + ": " +
         satellite_list(s.split.satNum) + (known.empty() ? "" : "; " + known);
}

}  // namespace

std::string optional_file_name(const char* keyWord) {
  std::string name;
  int irc = 1;
  if (input::TSTKEY(keyWord)) input::GTFLNA(0, keyWord, name, irc);
  return irc == 0 ? std::string(platform::rtrim(name)) : std::string();
}

void start_run_record(const std::string& plotName, const std::string& jsonName) {
  RunRecord& run = d_runrec;
  run.plotName = plotName;
  run.jsonName = jsonName;
  run.title = first_value("TITLE");
  run.inputFile = input::inpKey.inpFil;
  run.inputPath = platform::absolute_name(run.inputFile);
  run.runStart = iso_now();
  if (!run.plotName.empty() || !run.jsonName.empty()) framework::set_exit_hook(write_run_files);
}

void record_options(double tolRms, const ThresholdTable& thresholds) {
  d_runrec.optionsRead = true;
  d_runrec.tolRms = tolRms;
  d_runrec.thresholds = thresholds;
}

void record_protocol(std::string_view fileName, const ProtocolExtract& extract,
                     const std::array<double, 2>& windowRead, double rmsMax, int satMax,
                     int readerIrc, int rowsRead, bool hasWindow) {
  if (d_runrec.plotName.empty() && d_runrec.jsonName.empty()) return;  // nothing shows it
  ProtocolRecord p;
  p.fileName = std::string(platform::rtrim(fileName));
  p.filePath = opened_path(fileName);
  p.extract = extract;
  p.statedCount = extract.nSat;
  p.extract.nSat = std::clamp(std::min(rowsRead, extract.nSat), 0, kMaxSat);
  p.windowRead = windowRead;
  p.doyStart = orbit_check::day_of_year(extract.window[0]);
  p.doyEnd = orbit_check::day_of_year(extract.window[1]);
  p.middleDay = (p.doyStart + p.doyEnd) / 2;
  p.rmsMax = rmsMax;
  p.satMax = satMax;
  p.complete = readerIrc == 0;
  p.hasWindow = hasWindow;
  d_runrec.protocols.push_back(std::move(p));
}

void record_split(double splitEpoch, const std::array<double, kMaxSys>& level,
                  const SplitList& split, const SplitUpdate& update,
                  std::string_view reportName) {
  d_runrec.split = SplitRecord{splitEpoch,
                               level,
                               split,
                               update,
                               std::string(platform::rtrim(reportName)),
                               opened_path(reportName),
                               update.crxPath.empty() ? opened_path(update.crxName)
                                                      : update.crxPath};
}

void record_editing(const std::array<orbit_check::SystemEditing, kMaxSys>& editing) {
  d_runrec.editing = editing;
}

void record_tolerance(double tolerance, double rmsMax, int satMax, bool rmsRead) {
  d_runrec.tolerance = ToleranceRecord{tolerance, rmsMax, satMax,
                                       tolerance > 0.0 && rmsMax > tolerance, rmsRead};
}

void record_no_check() { d_runrec.noCheck = true; }

int write_run_files(int ircode) {
  RunRecord& run = d_runrec;
  const bool again = run.filesWritten;
  if (!again) {  // names as the files were opened, while the variables are known
    if (!run.plotName.empty()) run.plotPath = framework::opened_name(run.plotName);
    if (!run.jsonName.empty()) run.jsonPath = framework::opened_name(run.jsonName);
    run.filesWritten = true;
  }
  const framework::Messages& messages = framework::m_msglog.messages;
  if (!run.plotName.empty()) {
    ircode = write_named(run.plotName, run.plotPath, ircode, again,
                         [&](int rc) { return write_plot(run, rc, messages); });
  }
  if (!run.jsonName.empty()) {
    ircode = write_named(run.jsonName, run.jsonPath, ircode, again,
                         [&](int rc) { return write_results(run, rc, messages); });
  }
  return ircode;
}

Verdict run_verdict(const RunRecord& run, int ircode) {
  if (run.tolerance && run.tolerance->exceeded) return Verdict::ToleranceExceeded;
  if (run.noCheck) return Verdict::NoCheck;
  if (ircode != 0 && ircode != 1) return Verdict::Error;
  if (run.split) return run.split->split.count > 0 ? Verdict::SatellitesSplit : Verdict::NoneSplit;
  if (run.tolerance && run.tolerance->tolerance > 0.0) return Verdict::ToleranceKept;
  return Verdict::NoCheck;
}

std::string verdict_text(const RunRecord& run, int ircode, const framework::Messages& messages) {
  switch (run_verdict(run, ircode)) {
    case Verdict::SatellitesSplit:
    case Verdict::NoneSplit:
      return split_text(run, ircode);
    case Verdict::ToleranceExceeded:
      return "Tolerance exceeded: RMS " + metres(run.tolerance->rmsMax) + " of satellite " +
             std::to_string(run.tolerance->satMax) + " above TOL_RMS " +
             metres(run.tolerance->tolerance);
    case Verdict::ToleranceKept:
      return "Tolerance kept: largest RMS " + metres(run.tolerance->rmsMax) + " (satellite " +
             std::to_string(run.tolerance->satMax) + ") within TOL_RMS " +
             metres(run.tolerance->tolerance);
    case Verdict::NoCheck:
      return no_check_text(run);
    case Verdict::Error:
      break;
  }
  // The last error message tells what ended the run.
  std::string text = "Run ended with an error (return code " + std::to_string(ircode) + ")";
  const auto last = std::find_if(messages.rbegin(), messages.rend(), [](const auto& m) {
    return !m.empty() && m[0].rfind(" *** ", 0) == 0;
  });
  return last == messages.rend() ? text : text + ": " + (*last)[0].substr(5);
}

std::string iso_epoch(double mjd) {
  // Rounded to the second first, so 23:59:59.7 becomes the next day's 00:00:00.
  const double secs = std::round(mjd * 86400.0);
  if (!(secs > -678576.0 * 86400.0 && secs < 2973484.0 * 86400.0)) return {};
  const double day0 = std::floor(secs / 86400.0);
  const long long sod = static_cast<long long>(secs - day0 * 86400.0);
  int year = 0, month = 0;
  double day = 0.0;
  timeutil::JMT(day0 + 0.5, year, month, day);
  if (year < 1 || year > 9999) return {};
  return platform::fmt_i(year, 4, 4) + "-" + two(month) + "-" + two(static_cast<int>(day)) + "T" +
         two(static_cast<int>(sod / 3600)) + ":" + two(static_cast<int>(sod / 60 % 60)) + ":" +
         two(static_cast<int>(sod % 60));
}

std::string opened_path(std::string_view fileName) {
  return platform::absolute_name(framework::silent_expanded_name(fileName));
}

std::optional<int> eclipse_rms_mm(const ProtocolExtract& extract, int j) {
  std::optional<int> mm;
  const int nSat = std::clamp(extract.nSat, 0, kMaxSat);
  for (int i = 0; i < nSat; ++i) {
    if (extract.satNum[i] == extract.eclSat[j]) {
      mm = timeutil::nint(extract.rms[i] * 1000.0);
    }
  }
  return mm;
}

}  // namespace results
