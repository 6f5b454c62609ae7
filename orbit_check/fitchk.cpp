#include "orbit_check/fitchk.h"

#include <cmath>
#include <string>
#include <vector>

#include "framework/defcon.h"
#include "framework/exitrc.h"
#include "framework/m_cpu.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/opnsys.h"
#include "framework/prflna.h"
#include "framework/pritit.h"
#include "framework/write_line.h"
#include "framework/wrterr.h"
#include "input/d_inpkey.h"
#include "input/gtfile.h"
#include "input/gtflna.h"
#include "orbit_check/asplit.h"
#include "orbit_check/check_output_files.h"
#include "orbit_check/extdef.h"
#include "orbit_check/protocol_extract.h"
#include "orbit_check/protocol_keyword.h"
#include "orbit_check/real_options.h"
#include "orbit_check/rms_summary.h"
#include "orbit_check/split_report.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"
#include "results/run_record.h"

namespace orbit_check {
namespace {

constexpr int kMaxFil = 100;
constexpr const char* kPgmName = "FITCHK";

// Protocol files of the run: "JOBOUT" for RADIO_1 = 1, "OUTPUT" for 0.
std::vector<std::string> protocol_files() {
  const char* keyWord = protocol_keyword();
  std::vector<std::string> files;
  if (!keyWord) return files;
  int nFil = 0;
  std::vector<std::vector<std::string>> names;
  input::GTFILE(keyWord, 1, kMaxFil, nFil, names);
  for (int i = 0; i < nFil; ++i) files.push_back(names[0][static_cast<std::size_t>(i)]);
  return files;
}

// The tolerance and the threshold table from the real options; the options
// of systems 3-6 only where the input file has their keyword (so no message
// about a missing one).
ThresholdTable real_option_values(double& tolRms, int& irCode) {
  ThresholdTable thr;
  for (const RealOption& o : real_options()) {
    if (o.ifPresent && !input::TSTKEY(o.keyWord)) continue;
    const double v = read_real_option(o, irCode);
    if (o.use == OptionUse::Tolerance) tolRms = v;
    if (o.use == OptionUse::Factor) thr.factor[static_cast<std::size_t>(o.sys)] = v;
    if (o.use == OptionUse::Limit) thr.limit[static_cast<std::size_t>(o.sys)] = v;
  }
  return thr;
}

// Opens an output file on unit lfn, created or replaced.
void open_output(int lfn, const std::string& name) {
  int ios = 0;
  framework::OPNFIL(lfn, name, "NEW", "FORMATTED", " ", " ", ios);
  framework::OPNERR(framework::m_tolk.lfnMsg, lfn, ios, name, kPgmName);
}

// Results of the protocol loop that the later steps use.
struct LoopResult {
  ProtocolExtract extract;         // of the last protocol
  std::array<double, 2> window{};  // rounded window of the last protocol
  double rmsMax = 0.0;             // largest RMS of the last protocol and its satellite
  int satMax = 0;
};

// The output file names; a missing "OUTFIL" name ends the run.
OutputNames output_names() {
  OutputNames names;
  int irc = 0;
  input::GTFLNA(1, "OUTFIL", names.outFil, irc);
  input::GTFLNA(0, "WEEKFM", names.weekFm, irc);
  input::GTFLNA(0, "ASPLIT", names.aSplit, irc);
  names.plotFil = results::optional_file_name("PLOTFIL");
  names.jsonFil = results::optional_file_name("JSONFIL");
  return names;
}

// Warns when no RMS value, or not all, could be read from a protocol, or
// when it ends before its eclipsing satellites.
void check_rms_table(const std::string& fileName, const TableCount& table) {
  std::string head;
  if (table.rows == 0) {
    head = "No satellite RMS values found in the protocol";
  } else if (table.rows < table.count) {
    head = "Satellite table of the protocol incomplete: " + std::to_string(table.rows) + " of " +
           std::to_string(table.count) + " satellites read";
  } else if (!table.eclipses) {
    head = "Protocol ends before its eclipsing satellites";
  } else {
    return;
  }
  framework::write_lines(framework::m_tolk.lfnMsg,
                         {"", " ### PG FITCHK: " + head,
                          std::string(16, ' ') + "File name: " +
                              std::string(platform::rtrim(fileName)),
                          ""});
}

LoopResult protocol_loop(const std::vector<std::string>& files, const OutputNames& names) {
  const framework::Tolk& units = framework::m_tolk;
  open_output(units.lfnAux1, names.outFil);
  const bool weekOpen = !platform::is_blank(names.weekFm);
  if (weekOpen) open_output(units.lfnAux2, names.weekFm);

  LoopResult r;
  for (std::size_t i = 0; i < files.size(); ++i) {
    ProtocolExtract& e = r.extract;
    e = ProtocolExtract{};  // each protocol is read into a fresh extract
    int ircExt = 0;
    TableCount table;
    EXTDEF(files[i], 1, r.window, e.nSat, e.satNum, e.rms, e.nEcl, e.eclSat, e.longShadow,
           e.nArc, ircExt, &table);
    check_rms_table(files[i], table);
    const std::array<double, 2> windowRead = r.window;
    SUMMARIZE_PROTOCOL(files[i], e, r.window, r.rmsMax, r.satMax, weekOpen);
    e.window = r.window;
    results::record_protocol(files[i], e, windowRead, r.rmsMax, r.satMax, ircExt,
                             table.rows);
  }
  framework::CLOSE_CHECKED(units.lfnAux1, names.outFil, kPgmName);
  if (weekOpen) framework::CLOSE_CHECKED(units.lfnAux2, names.weekFm, kPgmName);
  return r;
}

// One protocol of a two-day arc: editing, problem-file update and reports.
void arc_split_case(const std::string& splitName, const std::string& protocol,
                    const LoopResult& r, const ThresholdTable& thr, const std::string& crxName) {
  const int lfn = framework::m_tolk.lfnAux2;
  open_output(lfn, splitName);
  const double splitEpoch = std::round(r.window[0]) + 1.0;
  std::array<double, kMaxSys> level{};
  SplitList split;
  SplitUpdate update;
  ASPLIT(splitEpoch, r.extract, thr, level, split, &update);
  // Splits without a place in the file are reported as candidates only.
  results::record_split(splitEpoch, level, update.noPlace ? SplitList{} : split, update, splitName);
  // A file left unchanged ends the run at once; records in the file are
  // reported before the failure of their sync.
  if (!update.replaced) report_update_failure(update);
  print_split_tables(r.extract, thr, level, split, !update.noPlace);
  write_split_report(lfn, thr, level, split, splitEpoch, crxName, protocol, !update.noPlace);
  framework::write_line(lfn, "");
  framework::CLOSE_CHECKED(lfn, splitName, kPgmName);
  report_update_failure(update);
  if (update.noPlace) framework::EXITRC(2);
}

// An arc length in days as I7 without blanks.
std::string arc_days(double days) {
  if (!(days >= -999999.0 && days <= 9999999.0)) return "*******";
  return std::to_string(static_cast<long long>(days));
}

// With an arc-split report named: the arc-split case, or a warning that
// neither arc splitting nor the tolerance check is made.
void split_step(const std::string& splitName, const std::vector<std::string>& files,
                const LoopResult& r, const ThresholdTable& thr, const std::string& crxName) {
  const double days = std::round(r.window[1] - r.window[0]);
  if (files.size() == 1 && days == 2.0) {
    arc_split_case(splitName, files[0], r, thr, crxName);
    return;
  }
  const std::string reason =
      files.size() != 1
          ? "Arc splitting needs exactly one protocol file; the run has " +
                std::to_string(files.size()) + "."
          : "Arc splitting needs an arc of 2 days; the arc has " + arc_days(days) + ".";
  framework::write_lines(framework::m_tolk.lfnMsg,
                         {"", " ### PG FITCHK: No arc splitting and no tolerance check",
                          std::string(16, ' ') + reason, ""});
}

// The largest RMS of the last protocol against "TOL_RMS".
void tolerance_check(double tolRms, const LoopResult& r) {
  results::record_tolerance(tolRms, r.rmsMax, r.satMax);
  if (!(tolRms > 0.0 && r.rmsMax > tolRms)) return;
  const std::string b16(16, ' ');
  framework::write_lines(
      framework::m_tolk.lfnMsg,
      {"", " *** PG FITCHK: MAXIMALLY TOLERATED ORBIT FITTING RMS EXCEEDED",
       b16 + "SATELLITE:" + platform::fmt_i(r.satMax, 5), b16 + "RMS      :" + platform::fmt_f(r.rmsMax, 9, 3),
       b16 + "TOLERANCE:" + platform::fmt_f(tolRms, 9, 3), ""});
  framework::EXITRC(2);
}

}  // namespace

void FITCHK() {
  framework::CPU_START(true);
  input::INIT_INPKEY(input::inpKey);
  input::READINPF(" ", input::inpKey);
  check_system_outputs();
  framework::OPNSYS();
  framework::DEFCON(0);
  framework::PRITIT(kPgmName, "Extract TRJFIT program output");
  framework::PRFLNA();

  const std::vector<std::string> files = protocol_files();
  int irCode = 0;
  double tolRms = 0.0;
  const ThresholdTable thr = real_option_values(tolRms, irCode);
  results::record_options(tolRms, thr);
  PRINT_THRESHOLDS(thr);
  const OutputNames names = output_names();
  std::string crxName;
  int irc = 0;
  input::GTFLNA(0, "SATCRUX", crxName, irc);
  check_output_files(names, input::inpKey.inpFil, files, crxName);
  results::start_run_record(names.plotFil, names.jsonFil);
  const LoopResult r = protocol_loop(files, names);

  if (platform::is_blank(names.aSplit)) {
    tolerance_check(tolRms, r);
  } else {
    split_step(names.aSplit, files, r, thr, crxName);
  }
  framework::EXITRC(0);
}

}  // namespace orbit_check
