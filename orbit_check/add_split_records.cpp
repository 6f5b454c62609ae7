#include <cmath>
#include <algorithm>
#include <string>
#include <vector>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/write_line.h"
#include "framework/wrterr.h"
#include "orbit_check/asplit.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"
#include "platform/replace_file.h"
#include "platform/units.h"
#include "satcrux/d_satcrx.h"
#include "timeutil/jmt.h"

namespace orbit_check {
namespace {

constexpr int kRecordWidth = 80;
constexpr int kHeaderLines = 6;

std::vector<std::string> read_lines(const std::string& crxName) {
  const int lfn = framework::m_tolk.lfnWork;
  int ios = 0;
  framework::OPNFIL(lfn, crxName, "OLD", "FORMATTED", "READONLY", " ", ios);
  framework::OPNERR(framework::m_tolk.lfnMsg, lfn, ios, crxName, "ASPLIT");
  std::vector<std::string> lines;
  std::string line;
  platform::ReadStatus st;
  while ((st = platform::read_record(lfn, line)) == platform::ReadStatus::Ok) lines.push_back(line);
  platform::close_unit(lfn);
  if (st == platform::ReadStatus::Error) {
    framework::write_lines(framework::m_tolk.lfnMsg,
                           {"", " *** SR ASPLIT: Satellite problem file could not be read",
                            std::string(16, ' ') + "File name : " + crxName, ""});
    framework::EXITRC(2);
  }
  return lines;
}

// The file's lines padded to 80 columns, the records inserted before the
// first line from line 7 on whose first 6 columns are blank; *placed tells
// whether there was such a line.
std::string with_records(const std::vector<std::string>& lines, double splitEpoch,
                         const SplitList& split, bool* placed) {
  std::string out;
  *placed = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (!*placed && i >= kHeaderLines && platform::is_blank(platform::col(line, 1, 6))) {
      for (int sat : split.satNum) out.append(split_record(sat, splitEpoch)).push_back('\n');
      *placed = true;
    }
    out.append(line.size() < kRecordWidth ? platform::pad(line, kRecordWidth) : line).push_back('\n');
  }
  return out;
}

[[noreturn]] void lock_timeout(const std::string& crxName, double waited) {
  framework::write_lines(
      framework::m_tolk.lfnMsg,
      {"", " *** SR ASPLIT: Satellite problem file in use by another run",
       std::string(16, ' ') + "File name : " + crxName,
       std::string(16, ' ') + "Waited " + std::to_string(std::lround(waited)) +
           " s; the file was not changed.",
       ""});
  framework::EXITRC(2);
}

// Takes the update lock of the file path (crxName as given). A wait beyond
// the notice time is reported, one beyond the limit ends the run. A file
// that cannot be locked (missing, a device) is left to the read to report.
void hold_lock(const std::string& path, const std::string& crxName, platform::FileLock& lock) {
  const double notice = s_asplit.lockNoticeSeconds;
  const double limit = s_asplit.lockWaitSeconds;
  int rc = platform::lock_file(path, lock, std::min(notice, limit));
  if (rc == platform::kErrLockTimeout && limit > notice) {
    framework::write_lines(framework::m_tolk.lfnMsg,
                           {"", " ### SR ASPLIT: Satellite problem file in use by another run, waiting",
                            std::string(16, ' ') + "File name : " + crxName, ""});
    rc = platform::lock_file(path, lock, limit - notice);
  }
  if (rc == platform::kErrLockTimeout) lock_timeout(crxName, limit);
  if (lock.held()) platform::remove_leftovers(path);
}

}  // namespace

std::string split_record(int satNum, double splitEpoch) {
  int year = 0, month = 0;
  double day = 0.0;
  timeutil::JMT(splitEpoch, year, month, day);
  return platform::Line()
      .X(2).I(satNum, 3).X(9).A("4").X(9).A("0").X(7)
      .I(year, 4).X(1).I(month, 2, 2).X(1).I(static_cast<long long>(std::lround(day)), 2, 2)
      .A(" 00 00 00 ")
      .str();
}

int add_split_records(const std::string& crxName, double splitEpoch, SplitList& split) {
  const std::string path = framework::silent_expanded_name(crxName);
  platform::FileLock lock;
  hold_lock(path, crxName, lock);
  satcrux::d_satcrx.firstCall = true;  // the records as they are now, under the lock
  drop_known_splits(splitEpoch, split);
  if (split.count == 0) return 0;
  bool placed = false;
  const std::string content = with_records(read_lines(crxName), splitEpoch, split, &placed);
  const int status = platform::replace_file(path, content);
  framework::WRTERR(framework::m_tolk.lfnMsg, framework::m_tolk.lfnWork, status, crxName, "ASPLIT");
  return placed ? split.count : 0;
}

}  // namespace orbit_check
