#include "input_check/keyword_scan.h"

#include <string_view>

#include "input/keyword_line.h"
#include "input/nextline_eof.h"
#include "platform/fixed_text.h"
#include "platform/units.h"

namespace input_check {

namespace {

constexpr std::size_t kLineLength = 255;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Records longer than the run reads, comments aside; readError set when a
// read fails (the run's reader would end the run there). The run reads past
// a byte-order mark before the first line (bom set).
std::vector<LongLine> long_lines(int lfn, bool& readError, bool& bom) {
  std::vector<LongLine> found;
  platform::rewind_unit(lfn);
  std::string rec;
  platform::ReadStatus st;
  for (int line = 1; (st = platform::read_record(lfn, rec)) == platform::ReadStatus::Ok; ++line) {
    if (line == 1 && rec.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0) {
      bom = true;
      rec.erase(0, kByteOrderMark.size());
    }
    if (rec.size() <= kLineLength) continue;
    const std::size_t first = rec.find_first_not_of(' ');
    if (first < kLineLength && std::string_view("#!*").find(rec[first]) != std::string_view::npos) continue;
    found.push_back({line, rec.size(), rec.substr(kLineLength)});
  }
  readError = st == platform::ReadStatus::Error;
  platform::rewind_unit(lfn);
  return found;
}

}  // namespace

KeywordScan scan_keywords(int lfn) {
  KeywordScan scan;
  scan.longLines = long_lines(lfn, scan.readError, scan.byteOrderMark);
  if (scan.readError) return scan;
  int records = 0;
  bool eof = false;
  for (;;) {
    const std::string line = input::nextline_eof(lfn, 1, eof, &records);
    if (line.empty()) {
      if (!eof) scan.blankStop = records;
      break;
    }
    ScannedKey key;
    key.line = records;
    key.text = line;
    if (!input::decode_keyword_line(line, key.name, key.count)) {
      scan.badLine = records;
      scan.badText = line;
      break;
    }
    for (int k = 1; key.count > 1 && k <= key.count; ++k) {
      const std::string vline = input::nextline_eof(lfn, 1, eof, &records);
      if (eof) break;
      key.valueLines.push_back(records);
      key.valueTexts.push_back(vline);
    }
    scan.keys.push_back(key);
    if (eof) break;
  }
  platform::rewind_unit(lfn);
  return scan;
}

}  // namespace input_check
