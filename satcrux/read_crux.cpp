#include <new>
#include <string>

#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/rderr.h"
#include "input/gtflna.h"
#include "platform/field_read.h"
#include "platform/fixed_text.h"
#include "platform/units.h"
#include "satcrux/d_satcrx.h"
#include "timeutil/st2tim.h"

namespace satcrux {
namespace {

constexpr int kHeaderLines = 6;
constexpr int kSpare = 10;
constexpr std::size_t kLineLength = 255;
constexpr std::string_view kRoutine = "d_satcrx:read_crux";

// The name of "SATCRUX", replaced by fileName when that is given and not
// blank; left-justified, so that counting and reading see the same file.
std::string file_name(std::optional<std::string_view> fileName) {
  std::string name;
  if (fileName && !platform::is_blank(*fileName)) {
    name = platform::cut(*fileName, kLineLength);
  } else {
    int irc = 1;
    input::GTFLNA(0, "SATCRUX", name, irc);
    if (irc != 0) return {};
  }
  name.erase(0, name.find_first_not_of(' '));
  return platform::cut(name, kLineLength);
}

// Room for nCrx records and the spare entries; a failure ends the run.
void allocate(t_satcrux& list, int nCrx) {
  const long long size = static_cast<long long>(nCrx) + kSpare;
  int irc = 0;
  try {
    list.crxLst.reserve(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    irc = 1;
  }
  framework::ALCERR(irc, "satCrux%crxLst", {size}, kRoutine);
}

// One record line (up to 255 characters); false, with the reason in why,
// when it is no record.
bool parse_record(std::string_view line, t_crux& crx, std::string& why) {
  why = record_end_reason(line);
  if (!why.empty()) return false;
  platform::read_int_field(platform::col(line, 1, 5), crx.satNum);
  platform::read_int_field(platform::col(line, 6, 15), crx.kind[0]);
  platform::read_int_field(platform::col(line, 16, 25), crx.kind[1]);
  timeutil::ST2TIM(1, 2, platform::col(line, 33, 72), crx.window);
  return true;
}

// The next line of unit lfn; false at the end of the file. A read error ends the run.
bool next_line(const t_satcrux& list, int lfn, std::string& line) {
  const platform::ReadStatus st = platform::read_record(lfn, line, kLineLength);
  if (st == platform::ReadStatus::Error) {
    framework::RDERR(framework::m_tolk.lfnMsg, lfn, list.filNam, kRoutine);
  }
  return st == platform::ReadStatus::Ok;
}

// The reader stopped at a line before the blank columns 1-6 that end the
// records: noted in list.stop when such a line follows.
void find_end(t_satcrux& list, int lfn, ReadStop stop) {
  std::string line;
  while (next_line(list, lfn, line)) {
    if (!platform::is_blank(platform::col(line, 1, 6))) continue;
    list.stop = std::move(stop);
    return;
  }
}

// Up to nCrx records from unit lfn, after its header lines.
void read_records(t_satcrux& list, int lfn, int nCrx) {
  std::string line;
  for (int i = 0; i < kHeaderLines; ++i) {
    if (!next_line(list, lfn, line)) return;
  }
  std::string why;
  for (int i = 0; i < nCrx; ++i) {
    t_crux crx;
    if (!next_line(list, lfn, line)) return;
    if (!parse_record(line, crx, why)) {
      if (!platform::is_blank(platform::col(line, 1, 6))) {
        find_end(list, lfn, {kHeaderLines + i + 1, why});
      }
      return;
    }
    list.crxLst.push_back(crx);
    list.nCrx = static_cast<int>(list.crxLst.size());
  }
}

}  // namespace

void READ_CRUX(t_satcrux& list, std::optional<std::string_view> fileName) {
  std::vector<t_crux>().swap(list.crxLst);
  INIT_SATCRUX(list);
  d_satcrx.firstCall = false;
  list.filNam = file_name(fileName);
  if (list.filNam.empty()) return;
  const int nCrx = LINCOUNT(list.filNam, kHeaderLines);
  allocate(list, nCrx);
  const int lfn = framework::m_tolk.lfnWork;
  int ios = 0;
  framework::OPNFIL(lfn, list.filNam, "OLD", "FORMATTED", "READONLY", " ", ios);
  framework::OPNERR(framework::m_tolk.lfnMsg, lfn, ios, list.filNam, kRoutine);
  read_records(list, lfn, nCrx);
  platform::close_unit(lfn);
}

}  // namespace satcrux
