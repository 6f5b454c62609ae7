#include "orbit_check/fitchk.h"

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "framework/defcon.h"
#include "framework/exitrc.h"
#include "framework/m_cpu.h"
#include "framework/m_msglog.h"
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
#include "orbit_check/edit_rule.h"
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

// The tolerance and the threshold table from the real options and the
// editing rule; the options of systems 3-6 and the rule only where the input
// file has their keyword (so no message about a missing one).
ThresholdTable real_option_values(double& tolRms, int& irCode) {
  ThresholdTable thr;
  for (const RealOption& o : real_options()) {
    if (o.ifPresent && !input::TSTKEY(o.keyWord)) continue;
    const double v = read_real_option(o, irCode);
    if (o.use == OptionUse::Tolerance) tolRms = v;
    if (o.use == OptionUse::Factor) thr.factor[static_cast<std::size_t>(o.sys)] = v;
    if (o.use == OptionUse::Limit) thr.limit[static_cast<std::size_t>(o.sys)] = v;
  }
  thr.rule = read_edit_rule(irCode);
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
  TableCount table;                // how much of its satellite table was read
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
  names.console = true;
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
    TableCount& table = r.table;
    EXTDEF(files[i], 1, r.window, e.nSat, e.satNum, e.rms, e.nEcl, e.eclSat, e.longShadow,
           e.nArc, ircExt, &table);
    check_rms_table(files[i], table);
    const std::array<double, 2> windowRead = r.window;
    SUMMARIZE_PROTOCOL(files[i], e, r.window, r.rmsMax, r.satMax, weekOpen);
    e.window = r.window;
    results::record_protocol(files[i], e, windowRead, r.rmsMax, r.satMax, ircExt,
                             table.rows, table.window);
  }
  framework::CLOSE_CHECKED(units.lfnAux1, names.outFil, kPgmName);
  if (weekOpen) framework::CLOSE_CHECKED(units.lfnAux2, names.weekFm, kPgmName);
  return r;
}

// The editing alone, for a run that writes no arc-split record: the
// candidates in update, the split list empty, the problem file not touched.
void edit_without_records(const ProtocolExtract& ext, const ThresholdTable& thr,
                          const std::string& crxName, std::array<double, kMaxSys>& level,
                          SplitList& split, SplitUpdate& update) {
  edit_candidates(ext, thr, level, split);
  update.candidates = split.satNum;
  if (!platform::is_blank(crxName)) update.crxName = std::string(platform::rtrim(crxName));
  split = SplitList{};
}

// What the run reported before the arc-split case that keeps it from
// writing records: option errors, or other errors; empty when nothing.
std::string errors_reported(int irCode) {
  if (irCode != 0) return "option errors were reported";
  return framework::m_msglog.errors > 0 ? "errors were reported" : "";
}

// Why the arc-split case writes no record: errors were reported, or the
// satellite table was read only in part; empty when it may write them.
std::string withheld_reason(const std::string& reported, const TableCount& table) {
  std::string why = reported;
  if (table.rows < table.count) {
    why += std::string(why.empty() ? "" : "; ") + "the satellite table is incomplete (" +
           std::to_string(table.rows) + " of " + std::to_string(table.count) +
           " satellites read)";
  }
  return why;
}

// The errors of an arc-split case that wrote no record.
void report_withheld(const std::string& reported, const std::string& protocol,
                     const TableCount& table, const std::string& crxName) {
  const std::string b16(16, ' ');
  if (!reported.empty() && !platform::is_blank(crxName)) {
    std::string why = reported;
    why[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(why[0])));
    framework::write_lines(framework::m_tolk.lfnMsg,
                           {"", " *** PG FITCHK: Satellite problem file not updated",
                            b16 + "File name : " + std::string(platform::rtrim(crxName)),
                            b16 + why + ": no arc-split record was written.", ""});
  }
  if (table.rows < table.count) {
    framework::write_lines(
        framework::m_tolk.lfnMsg,
        {"", " *** PG FITCHK: Arc splitting on an incomplete satellite table",
         b16 + "File name: " + std::string(platform::rtrim(protocol)),
         b16 + std::to_string(table.rows) + " of " + std::to_string(table.count) +
             " satellites read: no arc-split record was written.",
         ""});
  }
}

// One protocol of a two-day arc: editing, problem-file update and reports.
// After errors reported (reported: what), or on a satellite table read in
// part, the editing and the reports run, but no record is written and the
// problem file is not touched.
void arc_split_case(const std::string& splitName, const std::string& protocol,
                    const LoopResult& r, const ThresholdTable& thr, const std::string& crxName,
                    const std::string& reported) {
  const int lfn = framework::m_tolk.lfnAux2;
  open_output(lfn, splitName);
  const double splitEpoch = std::round(r.window[0]) + 1.0;
  std::array<double, kMaxSys> level{};
  SplitList split;
  SplitUpdate update;
  const std::array<SystemEditing, kMaxSys> editing = system_editing(r.extract, thr);
  warn_not_editable(editing, thr);
  results::record_editing(editing);
  const std::string withheld = withheld_reason(reported, r.table);
  if (withheld.empty()) {
    ASPLIT(splitEpoch, r.extract, thr, level, split, &update);
  } else {
    edit_without_records(r.extract, thr, crxName, level, split, update);
  }
  // Splits without a place in the file are reported as candidates only.
  results::record_split(splitEpoch, level, update.noPlace ? SplitList{} : split, update, splitName);
  // A file left unchanged ends the run at once; records in the file are
  // reported before the failure of their sync.
  if (!update.replaced) report_update_failure(update);
  print_split_tables(r.extract, thr, level, split, !update.noPlace);
  write_split_report(lfn, thr, level, split, splitEpoch, crxName, protocol, !update.noPlace);
  if (!withheld.empty()) {
    framework::write_line(lfn, "No arc-split record was written: " + withheld + ".");
  }
  framework::write_line(lfn, "");
  framework::CLOSE_CHECKED(lfn, splitName, kPgmName);
  report_update_failure(update);
  if (update.noPlace) framework::EXITRC(2);
  if (withheld.empty()) return;
  report_withheld(reported, protocol, r.table, crxName);
  framework::EXITRC(2);
}

// An arc length in days as I7 without blanks.
std::string arc_days(double days) {
  if (!(days >= -999999.0 && days <= 9999999.0)) return "*******";
  return std::to_string(static_cast<long long>(days));
}

// Arc splitting on a protocol that gave no RMS value would check nothing:
// an error.
[[noreturn]] void no_rms_for_splitting(const std::string& protocol) {
  framework::write_lines(framework::m_tolk.lfnMsg,
                         {"", " *** PG FITCHK: No satellite RMS values for the arc splitting",
                          std::string(16, ' ') + "File name: " +
                              std::string(platform::rtrim(protocol)),
                          ""});
  results::record_no_check();
  framework::EXITRC(2);
}

// With an arc-split report named: the arc-split case, or an error that
// neither arc splitting nor the tolerance check is made.
void split_step(const std::string& splitName, const std::vector<std::string>& files,
                const LoopResult& r, const ThresholdTable& thr, const std::string& crxName,
                const std::string& reported) {
  const double days = std::round(r.window[1] - r.window[0]);
  if (files.size() == 1 && days == 2.0) {
    if (r.table.rows == 0) no_rms_for_splitting(files[0]);
    arc_split_case(splitName, files[0], r, thr, crxName, reported);
    return;
  }
  const std::string reason =
      files.size() != 1
          ? "Arc splitting needs exactly one protocol file; the run has " +
                std::to_string(files.size()) + "."
          : "Arc splitting needs an arc of 2 days; the arc has " + arc_days(days) + ".";
  framework::write_lines(framework::m_tolk.lfnMsg,
                         {"", " *** PG FITCHK: No arc splitting and no tolerance check",
                          std::string(16, ' ') + reason, ""});
  results::record_no_check();
  framework::EXITRC(2);
}

// Why the run has no protocol: the list "RADIO_1" chooses is empty, or it
// chooses none.
std::string no_protocol_reason() {
  if (const char* list = protocol_keyword(true)) {
    return std::string(list) + " names no protocol file.";
  }
  std::vector<std::string> value;
  int irc = 1;
  if (input::TSTKEY("RADIO_1")) input::READKEYS("RADIO_1", value, irc);
  const std::string radio =
      irc == 0 && !value.empty() ? std::string(platform::rtrim(value[0])) : std::string();
  return "RADIO_1 is \"" + radio + "\": \"1\" chooses JOBOUT, \"0\" OUTPUT.";
}

// A tolerance check that saw none or only part of the satellites of the last
// protocol, none above the tolerance, is no check: the run ends with an error.
void unchecked_tolerance(const std::vector<std::string>& files, const LoopResult& r) {
  const std::string b16(16, ' ');
  std::vector<std::string> lines{""};
  const std::string last = files.empty() ? "" : std::string(platform::rtrim(files.back()));
  if (files.empty()) {
    lines.insert(lines.end(), {" *** PG FITCHK: No protocol for the tolerance check",
                               b16 + no_protocol_reason()});
  } else if (r.table.rows == 0) {
    lines.insert(lines.end(), {" *** PG FITCHK: No satellite RMS values for the tolerance check",
                               b16 + "File name: " + last});
  } else if (r.table.rows < r.table.count) {
    lines.insert(lines.end(),
                 {" *** PG FITCHK: Tolerance check on an incomplete satellite table",
                  b16 + "File name: " + last,
                  b16 + std::to_string(r.table.rows) + " of " + std::to_string(r.table.count) +
                      " satellites read, none above the tolerance: the others were not checked."});
  } else {
    return;
  }
  lines.emplace_back("");
  for (const std::string& line : lines) framework::write_line(framework::m_tolk.lfnMsg, line);
  results::record_no_check();
  framework::EXITRC(2);
}

// The largest RMS of the last protocol against "TOL_RMS".
void tolerance_check(double tolRms, const std::vector<std::string>& files, const LoopResult& r) {
  results::record_tolerance(tolRms, r.rmsMax, r.satMax, r.table.rows > 0);
  if (tolRms > 0.0 && !(r.rmsMax > tolRms)) unchecked_tolerance(files, r);
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
  framework::keep_read_files(run_read_files(run_file_names()));
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
    tolerance_check(tolRms, files, r);
  } else {
    split_step(names.aSplit, files, r, thr, crxName, errors_reported(irCode));
  }
  framework::EXITRC(0);
}

}  // namespace orbit_check
