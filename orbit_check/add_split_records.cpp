#include <cmath>
#include <cstring>
#include <algorithm>
#include <chrono>
#include <thread>
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

// Reports an open of the file that failed with status (not 0); ends the run.
void open_failed(int status, const std::string& crxName) {
  framework::OPNERR(framework::m_tolk.lfnMsg, framework::m_tolk.lfnWork, status, crxName, "ASPLIT");
}

[[noreturn]] void not_updated(const std::string& head, const std::vector<std::string>& lines) {
  const int lfn = framework::m_tolk.lfnMsg;
  framework::write_lines(lfn, {"", " *** SR ASPLIT: " + head});
  for (const std::string& line : lines) framework::write_line(lfn, std::string(16, ' ') + line);
  framework::write_line(lfn, "");
  framework::EXITRC(2);
}

std::string error_text(int err) {
  return std::string(std::strerror(err)) + " (errno " + std::to_string(err) + ")";
}

[[noreturn]] void lock_timeout(const std::string& crxName, double waited) {
  not_updated("Satellite problem file in use by another run",
              {"File name : " + crxName,
               "Waited " + std::to_string(std::lround(waited)) + " s; the file was not changed."});
}

[[noreturn]] void lock_failed(const std::string& crxName, int err) {
  not_updated("Satellite problem file cannot be locked",
              {"File name : " + crxName, "Error     : " + error_text(err),
               "The file was not changed."});
}

// An open or lock error that only keeps the run from writing the file.
bool may_read_instead(int err) { return err == EACCES || err == EPERM || err == EROFS; }

// Holds the file for the update: locked, waits beyond the notice time
// reported, one beyond the limit ends the run. A file that may not be
// written is held for reading only, with the open status in *cannotWrite
// (the run ends with it when it has records to add); any other failure ends
// the run. A file missing now (a save in progress) gives kErrNotFound.
int hold(platform::FileUpdate& file, const std::string& crxName, int* cannotWrite) {
  *cannotWrite = 0;
  const double notice = s_asplit.lockNoticeSeconds;
  const double limit = s_asplit.lockWaitSeconds;
  platform::LockFailure why;
  int rc = file.lock(std::min(notice, limit), &why);
  if (rc == platform::kErrLockTimeout && limit > notice) {
    framework::write_lines(framework::m_tolk.lfnMsg,
                           {"", " ### SR ASPLIT: Satellite problem file in use by another run, waiting",
                            std::string(16, ' ') + "File name : " + crxName, ""});
    rc = file.lock(limit - notice, &why);
  }
  if (rc == platform::kErrLockTimeout) lock_timeout(crxName, limit);
  if (rc == platform::kErrNotFound) return rc;
  if (rc != 0 && why.atRead) {
    framework::read_failed(framework::m_tolk.lfnMsg, framework::m_tolk.lfnWork, rc, crxName,
                           "ASPLIT");
  }
  if (rc != 0 && why.atOpen) {
    if (may_read_instead(why.err) && file.open_read_only() == 0) {
      *cannotWrite = rc;
      return 0;
    }
    open_failed(rc, crxName);
  }
  if (rc != 0) lock_failed(crxName, why.err);
  file.remove_leftovers();
  return 0;
}

[[noreturn]] void refuse_links(const std::string& crxName, nlink_t links) {
  not_updated("Satellite problem file has more than one name (hard links)",
              {"File name : " + crxName, "Links     : " + std::to_string(links),
               "A file of several names is not updated: give it one name (a symbolic link",
               "may lead to it). The file was not changed."});
}

[[noreturn]] void changed_meanwhile(const std::string& crxName, int tries) {
  not_updated("Satellite problem file changed by another program during the update",
              {"File name : " + crxName,
               "Tried " + std::to_string(tries) +
                   " times: each time the file was changed or replaced before the update was in place.",
               "The file was not changed."});
}

// What the replace gives the report; a failure that leaves the file
// unchanged is reported later (report_update_failure), those that leave it
// unclear or keep its old attributes end the run here.
void take_outcome(const platform::Replacement& r, const std::string& crxName, int count,
                  SplitUpdate& update) {
  if (!r.asideName.empty() && !r.replaced) {
    not_updated("Satellite problem file changed by another program during the update",
                {"File name : " + crxName,
                 "A version saved meanwhile stands beside it as " + r.asideName + ".",
                 "Check the file before the next update, which removes that version."});
  }
  if (!r.attribute.empty()) {
    not_updated("Attribute of the satellite problem file cannot be copied",
                {"File name : " + crxName, "Attribute : " + r.attribute,
                 "Error     : " + error_text(r.status), "The file was not changed."});
  }
  update.writeStatus = r.status;
  update.replaced = r.replaced;
  update.durable = !(r.replaced && (r.after == platform::Replacement::After::FolderSync ||
                                    r.after == platform::Replacement::After::Close));
  update.after = r.after;
  update.asideName = r.asideName;
  update.recordsWritten = r.replaced ? count : 0;
}

// The update of a file that is no regular file (a device, a FIFO: written
// in place) or is missing (the read reports it).
void update_in_place(const std::string& crxName, const std::string& path, double splitEpoch,
                     SplitList& split, SplitUpdate& update) {
  satcrux::d_satcrx.firstCall = true;
  drop_known_splits(splitEpoch, split);
  if (split.count == 0) return;
  bool placed = false;
  const std::string content = with_records(read_lines(crxName), splitEpoch, split, &placed);
  update.noPlace = !placed;
  if (!placed) return;
  update.writeStatus = platform::replace_file(path, content, &update.replaced);
  update.durable = !(update.replaced && update.writeStatus != 0);
  update.recordsWritten = update.replaced ? split.count : 0;
}

constexpr int kUpdateTries = 5;

// One try of the update, on the file as it is now, under its lock (or read
// only, when it has every record already). False when the file was missing
// (a save in progress) or another program changed it before the new
// version was in place: nothing is written, try again; on the last try a
// missing file ends the run.
bool try_update(platform::FileUpdate& file, const std::string& crxName, const std::string& path,
                double splitEpoch, SplitList& split, SplitUpdate& update, bool last) {
  int cannotWrite = 0;
  const int held = hold(file, crxName, &cannotWrite);
  if (held != 0) {
    if (last) open_failed(held, crxName);
    return false;
  }
  file.pin(path);
  satcrux::d_satcrx.firstCall = true;
  drop_known_splits(splitEpoch, split);
  if (split.count == 0) return true;
  if (cannotWrite != 0) open_failed(cannotWrite, crxName);
  if (file.links() > 1) refuse_links(crxName, file.links());
  bool placed = false;
  const std::string content = with_records(read_lines(crxName), splitEpoch, split, &placed);
  update.noPlace = !placed;
  if (!placed) return true;
  const platform::Replacement r = file.replace(content);
  if (r.changed && r.asideName.empty()) return false;
  take_outcome(r, crxName, split.count, update);
  return true;
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
  platform::FileUpdate file;
  const int resolved = file.resolve(path);
  if (resolved != 0 && resolved != platform::kErrNotFound) open_failed(resolved, crxName);
  if (resolved != 0 || !file.regular()) {
    update_in_place(crxName, path, splitEpoch, split, update);
    return;
  }
  update.crxPath = file.path();
  const SplitList candidates = split;
  for (int attempt = 1;; ++attempt) {
    split = candidates;
    if (try_update(file, crxName, path, splitEpoch, split, update, attempt == kUpdateTries)) return;
    file.release();
    if (attempt == kUpdateTries) changed_meanwhile(crxName, kUpdateTries);
    std::this_thread::sleep_for(std::chrono::milliseconds(10 * attempt));
  }
}

void report_update_failure(const SplitUpdate& update) {
  if (update.writeStatus == 0) return;
  if (update.replaced && update.recordsWritten > 0) {
    using After = platform::Replacement::After;
    const std::string b16(16, ' ');
    const std::string records =
        std::to_string(update.recordsWritten) + " records are in the file; ";
    const bool aside = update.after == After::OldVersion;
    framework::write_lines(
        framework::m_tolk.lfnMsg,
        {"",
         aside ? " ### SR ASPLIT: Arc-split records written, the old version left beside the file"
               : " ### SR ASPLIT: Arc-split records written, their durability not confirmed",
         b16 + "File name : " + update.crxName,
         b16 + records +
             (aside ? "the old version stays as " + update.asideName + " until the next update."
              : update.after == After::Close ? "closing the new file failed."
                                             : "the sync of its folder failed."),
         ""});
  }
  framework::WRTERR(framework::m_tolk.lfnMsg, framework::m_tolk.lfnWork, update.writeStatus,
                    update.crxName, "ASPLIT");
}

}  // namespace orbit_check
