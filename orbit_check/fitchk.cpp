#include "orbit_check/fitchk.h"

#include <string>
#include <vector>

#include "framework/defcon.h"
#include "framework/exitrc.h"
#include "framework/m_cpu.h"
#include "framework/m_tolk.h"
#include "framework/opnsys.h"
#include "framework/prflna.h"
#include "framework/pritit.h"
#include "input/ckoptr.h"
#include "input/d_inpkey.h"
#include "input/gtfile.h"
#include "input/gtflna.h"
#include "framework/opnfil.h"
#include "framework/write_line.h"
#include "framework/wrterr.h"
#include "orbit_check/asplit.h"
#include "orbit_check/extdef.h"
#include "orbit_check/protocol_extract.h"
#include "orbit_check/rms_summary.h"
#include "orbit_check/run_record.h"
#include "orbit_check/split_report.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"
#include <cmath>

namespace orbit_check {
namespace {

constexpr int kMaxFil = 100;
constexpr const char* kPgmName = "FITCHK";

// Protocol files of the run: "JOBOUT" for RADIO_1 = 1, "OUTPUT" for 0.
std::vector<std::string> protocol_files() {
  std::vector<std::string> value;
  int irc = 0;
  input::READKEYS("RADIO_1", value, irc);
  const std::string radio = value.empty() ? std::string() : value[0];
  const char* keyWord = platform::same_text(radio, "1")   ? "JOBOUT"
                        : platform::same_text(radio, "0") ? "OUTPUT"
                                                          : nullptr;
  std::vector<std::string> files;
  if (!keyWord) return files;
  int nFil = 0;
  std::vector<std::vector<std::string>> names;
  input::GTFILE(keyWord, 1, kMaxFil, nFil, names);
  for (int i = 0; i < nFil; ++i) files.push_back(names[0][static_cast<std::size_t>(i)]);
  return files;
}

// One real option through READKEYS and CKOPTR (mode 1, empty value 0).
double real_option(const char* keyWord, const char* descr, bool strict, int& irCode) {
  std::vector<std::string> value;
  int irc = 0;
  input::READKEYS(keyWord, value, irc);
  double result = 0.0;
  if (strict) {
    input::CKOPTR(1, keyWord, value, kPgmName, descr, irc, irCode, 0.0, std::nullopt,
                  std::nullopt, 0.0, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                  std::nullopt, std::nullopt, std::nullopt, nullptr, nullptr, &result);
  } else {
    input::CKOPTR(1, keyWord, value, kPgmName, descr, irc, irCode, 0.0, 0.0, std::nullopt,
                  std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                  std::nullopt, std::nullopt, std::nullopt, nullptr, nullptr, &result);
  }
  return result;
}

// The threshold table from the four editing options.
ThresholdTable editing_options(int& irCode) {
  ThresholdTable thr;
  thr.factor[0] = real_option("FAC_GPS", "Factor wrt mean RMS (GPS)", true, irCode);
  thr.factor[1] = real_option("FAC_GLO", "Factor wrt mean RMS (GLONASS)", true, irCode);
  thr.limit[0] = real_option("LIM_GPS", "Lower limit for RMS (GPS)", false, irCode);
  thr.limit[1] = real_option("LIM_GLO", "Lower limit for RMS (GLONASS)", false, irCode);
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
  std::vector<ProtocolExtract> extracts;
  std::array<double, 2> window{};  // rounded window of the last protocol
  double rmsMax = 0.0;             // largest RMS of the last protocol and its satellite
  int satMax = 0;
};

LoopResult protocol_loop(const std::vector<std::string>& files) {
  const framework::Tolk& units = framework::m_tolk;
  std::string outName, weekName;
  int irc = 0;
  input::GTFLNA(1, "OUTFIL", outName, irc);
  open_output(units.lfnAux1, outName);
  input::GTFLNA(0, "WEEKFM", weekName, irc);
  const bool weekOpen = irc == 0;
  if (weekOpen) open_output(units.lfnAux2, weekName);

  LoopResult r;
  r.extracts.resize(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    ProtocolExtract& e = r.extracts[i];
    int ircExt = 0;
    EXTDEF(files[i], 1, r.window, e.nSat, e.satNum, e.rms, e.nEcl, e.eclSat, e.longShadow,
           e.nArc, ircExt);
    const std::array<double, 2> windowRead = r.window;
    SUMMARIZE_PROTOCOL(files[i], e, r.window, r.rmsMax, r.satMax, weekOpen);
    e.window = r.window;
    record_protocol(files[i], e, windowRead, r.rmsMax, r.satMax, ircExt);
  }
  framework::CLOSE_CHECKED(units.lfnAux1, outName, kPgmName);
  if (weekOpen) framework::CLOSE_CHECKED(units.lfnAux2, weekName, kPgmName);
  return r;
}

// One protocol of a two-day arc: editing, problem-file update and reports.
void arc_split_case(const std::string& splitName, const std::string& protocol,
                    const LoopResult& r, const ThresholdTable& thr) {
  if (std::round(r.window[1] - r.window[0]) != 2.0) return;
  const int lfn = framework::m_tolk.lfnAux2;
  open_output(lfn, splitName);
  const double splitEpoch = std::round(r.window[0]) + 1.0;
  std::array<double, kMaxSys> level{};
  SplitList split;
  SplitUpdate update;
  ASPLIT(splitEpoch, r.extracts[0], thr, level, split, &update);
  record_split(splitEpoch, level, split, update, splitName);
  print_split_tables(r.extracts[0], thr, level, split);
  std::string crxName;
  int irc = 0;
  input::GTFLNA(0, "SATCRUX", crxName, irc);
  write_split_report(lfn, thr, level, split, splitEpoch, crxName, protocol);
  framework::write_line(lfn, "");
  framework::CLOSE_CHECKED(lfn, splitName, kPgmName);
}

// The largest RMS of the last protocol against "TOL_RMS".
void tolerance_check(double tolRms, const LoopResult& r) {
  record_tolerance(tolRms, r.rmsMax, r.satMax);
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
  framework::OPNSYS();
  framework::DEFCON(0);
  framework::PRITIT(kPgmName, "Extract TRJFIT program output");
  framework::PRFLNA();
  start_run_record();

  const std::vector<std::string> files = protocol_files();
  int irCode = 0;
  const double tolRms = real_option("TOL_RMS", "Maximally tolerated RMS value", false, irCode);
  const ThresholdTable thr = editing_options(irCode);
  record_options(tolRms, thr);
  PRINT_THRESHOLDS(thr);
  const LoopResult r = protocol_loop(files);

  std::string splitName;
  int ircSplit = 0;
  input::GTFLNA(0, "ASPLIT", splitName, ircSplit);
  if (files.size() == 1 && ircSplit == 0) arc_split_case(splitName, files[0], r, thr);
  if (ircSplit != 0) tolerance_check(tolRms, r);
  framework::EXITRC(0);
}

}  // namespace orbit_check
