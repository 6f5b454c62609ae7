#include <cmath>
#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/rderr.h"
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
  while (platform::read_record(lfn, line) == platform::ReadStatus::Ok) lines.push_back(line);
  framework::RDERR(framework::m_tolk.lfnMsg, lfn, crxName, "ASPLIT");
  platform::close_unit(lfn);
  return lines;
}

// The file's lines padded to 80 columns, the records inserted before the
// first line from line 7 on whose first 6 columns are blank, or before an
// earlier line at which the reader stops, so that the reader sees them;
// *placed tells whether there was such a line.
std::string with_records(const std::vector<std::string>& lines, double splitEpoch,
                         const SplitList& split, bool* placed) {
  std::string out;
  *placed = false;
  const std::size_t stop = static_cast<std::size_t>(satcrux::read_stop(lines).line);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (!*placed && i >= kHeaderLines &&
        (i + 1 == stop || platform::is_blank(platform::col(line, 1, 6)))) {
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

[[noreturn]] void lock_failed(const std::string& crxName, int err) {
  framework::write_lines(
      framework::m_tolk.lfnMsg,
      {"", " *** SR ASPLIT: Satellite problem file cannot be locked",
       std::string(16, ' ') + "File name : " + crxName,
       std::string(16, ' ') + "Error     : " + std::strerror(err) + " (errno " +
           std::to_string(err) + ")",
       std::string(16, ' ') + "The file was not changed.", ""});
  framework::EXITRC(2);
}

// Takes the update lock of the file path (crxName as given). A wait beyond
// the notice time is reported, one beyond the limit ends the run. A file
// that may not be opened for writing, or whose lock fails, is not updated:
// the run ends. A missing file is left to the read to report; a device is
// not locked.
void hold_lock(const std::string& path, const std::string& crxName, platform::FileLock& lock) {
  const double notice = s_asplit.lockNoticeSeconds;
  const double limit = s_asplit.lockWaitSeconds;
  platform::LockFailure why;
  int rc = platform::lock_file(path, lock, std::min(notice, limit), &why);
  if (rc == platform::kErrLockTimeout && limit > notice) {
    framework::write_lines(framework::m_tolk.lfnMsg,
                           {"", " ### SR ASPLIT: Satellite problem file in use by another run, waiting",
                            std::string(16, ' ') + "File name : " + crxName, ""});
    rc = platform::lock_file(path, lock, limit - notice, &why);
  }
  if (rc == platform::kErrLockTimeout) lock_timeout(crxName, limit);
  if (rc != 0 && why.atOpen && rc != platform::kErrNotFound) {
    framework::OPNERR(framework::m_tolk.lfnMsg, framework::m_tolk.lfnWork, rc, crxName, "ASPLIT");
  }
  if (rc != 0 && !why.atOpen) lock_failed(crxName, why.err);
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

void add_split_records(const std::string& crxName, double splitEpoch, SplitList& split,
                       SplitUpdate& update) {
  const std::string path = framework::silent_expanded_name(crxName);
  platform::FileLock lock;
  hold_lock(path, crxName, lock);
  satcrux::d_satcrx.firstCall = true;  // the records as they are now, under the lock
  drop_known_splits(splitEpoch, split);
  if (split.count == 0) return;
  bool placed = false;
  const std::string content = with_records(read_lines(crxName), splitEpoch, split, &placed);
  update.writeStatus = platform::replace_file(path, content, &update.replaced);
  update.durable = !(update.replaced && update.writeStatus != 0);
  update.recordsWritten = placed && update.replaced ? split.count : 0;
}

void report_update_failure(const SplitUpdate& update) {
  if (update.writeStatus == 0) return;
  if (update.replaced && update.recordsWritten > 0) {
    const std::string b16(16, ' ');
    framework::write_lines(
        framework::m_tolk.lfnMsg,
        {"", " ### SR ASPLIT: Arc-split records written, their durability not confirmed",
         b16 + "File name : " + update.crxName,
         b16 + std::to_string(update.recordsWritten) +
             " records are in the file; the sync of its folder failed.",
         ""});
  }
  framework::WRTERR(framework::m_tolk.lfnMsg, framework::m_tolk.lfnWork, update.writeStatus,
                    update.crxName, "ASPLIT");
}

}  // namespace orbit_check
