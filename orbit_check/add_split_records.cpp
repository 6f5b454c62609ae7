#include <cmath>
#include <filesystem>
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
#include "platform/units.h"
#include "timeutil/jmt.h"

namespace orbit_check {
namespace {

namespace fs = std::filesystem;

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

// Lines padded to 80 columns, the records inserted before the first line
// from line 7 on whose first 6 columns are blank.
bool write_lines_with_records(int lfn, const std::vector<std::string>& lines, double splitEpoch,
                              const SplitList& split) {
  bool inserted = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (!inserted && i >= kHeaderLines && platform::is_blank(platform::col(line, 1, 6))) {
      for (int sat : split.satNum) framework::write_line(lfn, split_record(sat, splitEpoch));
      inserted = true;
    }
    framework::write_line(lfn, line.size() < kRecordWidth ? platform::pad(line, kRecordWidth) : line);
  }
  return inserted;
}

// The file to replace: the target of a link, so the link stays.
std::string replace_target(const std::string& crxName) {
  std::error_code ec;
  fs::path real = fs::canonical(crxName, ec);
  return ec ? crxName : real.string();
}

[[noreturn]] void fail(const std::string& tmpName, const std::string& crxName, int code) {
  std::error_code ec;
  fs::remove(tmpName, ec);
  framework::WRTERR(framework::m_tolk.lfnMsg, framework::m_tolk.lfnWork, code == 0 ? 5 : code,
                    crxName, "ASPLIT");
  framework::EXITRC(2);
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

int add_split_records(const std::string& crxName, double splitEpoch, const SplitList& split) {
  const std::vector<std::string> lines = read_lines(crxName);
  const int lfn = framework::m_tolk.lfnWork;
  const int lfnMsg = framework::m_tolk.lfnMsg;
  const std::string target = replace_target(crxName);
  std::error_code ec;
  if (!fs::is_regular_file(target, ec)) {
    // A device or FIFO is written in place: it is never replaced.
    int ios = 0;
    framework::OPNFIL(lfn, crxName, "NEW", "FORMATTED", " ", " ", ios);
    framework::OPNERR(lfnMsg, lfn, ios, crxName, "ASPLIT");
    const bool placed = write_lines_with_records(lfn, lines, splitEpoch, split);
    framework::CLOSE_CHECKED(lfn, crxName, "ASPLIT");
    return placed ? split.count : 0;
  }
  const fs::path t(target);
  const std::string tmpName = (t.parent_path() / ("." + t.filename().string() + ".fitchk-new")).string();
  int ios = 0;
  framework::OPNFIL(lfn, tmpName, "NEW", "FORMATTED", " ", " ", ios);
  framework::OPNERR(lfnMsg, lfn, ios, crxName, "ASPLIT");
  const bool placed = write_lines_with_records(lfn, lines, splitEpoch, split);
  const int closed = platform::close_unit(lfn);
  if (closed != 0) fail(tmpName, crxName, closed);
  fs::permissions(tmpName, fs::status(target, ec).permissions(), ec);
  fs::rename(tmpName, target, ec);
  if (ec) fail(tmpName, crxName, ec.value());
  return placed ? split.count : 0;
}

}  // namespace orbit_check
