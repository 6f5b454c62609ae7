#include "input/nextline_eof.h"
#include "platform/fixed_text.h"
#include "platform/units.h"

namespace input {

std::string nextline_eof(int lfn, int adjust, bool& eof) {
  eof = false;
  int blanks = 0;
  std::string rec;
  for (;;) {
    if (platform::read_record(lfn, rec) != platform::ReadStatus::Ok) {
      eof = true;
      return {};
    }
    if (blanks > 1000) return {};
    if (rec.size() > 255) rec.resize(255);
    if (adjust == 1) {
      const std::size_t start = rec.find_first_not_of(' ');
      rec.erase(0, start == std::string::npos ? rec.size() : start);
    }
    if (platform::is_blank(rec)) {
      ++blanks;
      continue;
    }
    if (rec[0] == '#' || rec[0] == '!' || rec[0] == '*') continue;
    return std::string(platform::rtrim(rec));
  }
}

std::string NEXTLINE(int lfn, int adjust) {
  bool eof = false;
  return nextline_eof(lfn, adjust, eof);
}

}  // namespace input
