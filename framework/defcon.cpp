#include "framework/defcon.h"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "framework/d_const.h"
#include "framework/d_pgmid.h"
#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/rderr.h"
#include "framework/write_line.h"
#include "input/gtflna.h"
#include "platform/field_read.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"
#include "platform/units.h"
#include "timeutil/dattim.h"

namespace framework {

namespace {

using Entry = std::pair<const char*, double*>;

// The constant names of the file, in the order they are tested.
std::vector<Entry> constantTable(Consts& k) {
  return {{"C", &k.C},           {"FREQ1", &k.FREQ[0]},  {"FREQ2", &k.FREQ[1]},
          {"FREQ5", &k.FREQ[2]}, {"FREQP", &k.FREQP},    {"FREQG1", &k.FREQG1},
          {"FREQG2", &k.FREQG2}, {"DFRQG1", &k.DFRQG1},  {"DFRQG2", &k.DFRQG2},
          {"FREQGP", &k.FREQGP}, {"FRQE1", &k.FRQE[0]},  {"FRQE5", &k.FRQE[1]},
          {"FRQE5a", &k.FRQE[2]}, {"FRQE5b", &k.FRQE[3]}, {"FRQE6", &k.FRQE[4]},
          {"FRQS1", &k.FRQS[0]}, {"FRQS5", &k.FRQS[1]},  {"FRQC1", &k.FRQC[0]},
          {"FRQC2", &k.FRQC[1]}, {"FRQC5b", &k.FRQC[2]}, {"FRQC6", &k.FRQC[3]},
          {"FRQJ1", &k.FRQJ[0]}, {"FRQJ2", &k.FRQJ[1]},  {"FRQJ5", &k.FRQJ[2]},
          {"FRQJ6", &k.FRQJ[3]}, {"GM", &k.GM},          {"GMS", &k.GMS},
          {"GMM", &k.GMM},       {"AU", &k.AU},          {"AE", &k.AE},
          {"J2", &k.J2},         {"CONRE", &k.CONRE},    {"FACTEC", &k.FACTEC},
          {"P0", &k.P0},         {"OMEGA", &k.OMEGA},    {"ET-UTC", &k.ETUTC},
          {"WGTPHA", &k.WGTPHA}, {"WGTCOD", &k.WGTCOD},  {"HREF", &k.HREF},
          {"PREF", &k.PREF},     {"TREF", &k.TREF},      {"HUMREF", &k.HUMREF}};
}

[[noreturn]] void decodingError(const std::string& name, const std::string& value) {
  const int lfn = m_tolk.lfnMsg;
  write_line(lfn, "");
  write_line(lfn, " *** SR DEFCON: ERROR DECODING DATA ON THE FOLLOWING LINE:");
  write_line(lfn, platform::Line().X(1).Ab(name, 6).X(3).Ab(value, 16).str());
  write_line(lfn, "");
  EXITRC(2);
}

// One record: a name in columns 1-6 and a value in columns 10-25.
void decodeRecord(const std::string& record, const std::vector<Entry>& table) {
  const std::string name = platform::col(record, 1, 6);
  for (const Entry& e : table) {
    if (!platform::same_text(name, e.first)) continue;
    const std::string value = platform::col(record, 10, 25);
    // A value outside columns 10-25 is not seen: the constant keeps its value.
    if (platform::is_blank(value)) return;
    if (!platform::read_free_real(value, *e.second)) decodingError(name, value);
    return;
  }
}

void deriveWavelengths(Consts& k) {
  const double l1 = k.C / k.FREQ[0];
  const double l2 = k.C / k.FREQ[1];
  k.waveLen = {l1, l2, l1 * l2 / (l1 + l2), l1 - l2, l1 * l2 / (l2 - l1)};
  for (int s = 0; s < kMaxSatSlots; ++s) {
    k.satFreq[s] = {k.FREQ[0], k.FREQ[1]};
    k.satWaveLen[s] = k.waveLen;
  }
}

void readConstantsFile() {
  Consts& k = d_const;
  const Consts angular = k;
  k = Consts{};
  k.piConst = angular.piConst;
  k.degPerRad = angular.degPerRad;
  k.arcsecPerRad = angular.arcsecPerRad;
  std::string fileName;
  int irc = 0;
  input::GTFLNA(1, "CONST", fileName, irc);
  const int lfn = m_tolk.lfnWork;
  int ios = 0;
  OPNFIL(lfn, fileName, "OLD", "FORMATTED", "READONLY", " ", ios);
  OPNERR(m_tolk.lfnMsg, lfn, ios, fileName, "DEFCON");
  const std::vector<Entry> table = constantTable(k);
  std::string record;
  while (platform::read_record(lfn, record) == platform::ReadStatus::Ok) decodeRecord(record, table);
  RDERR(m_tolk.lfnMsg, lfn, fileName, "DEFCON");
  deriveWavelengths(k);
  d_pgmid.dateDone = 1;
  platform::close_unit(lfn);
}

}  // namespace

void DEFCON(int readFlag) {
  d_const.piConst = 4.0 * std::atan(1.0);
  d_const.degPerRad = 180.0 / d_const.piConst;
  d_const.arcsecPerRad = d_const.degPerRad * 3600.0;
  timeutil::DATTIM(d_pgmid.runDate, d_pgmid.runTime);
  if (readFlag != 1) return;
  readConstantsFile();
}

}  // namespace framework
