#include "input/nextline_eof.h"
#include "framework/m_tolk.h"
#include "framework/rderr.h"
#include "platform/fixed_text.h"
#include "platform/units.h"

namespace input {
namespace {

constexpr std::size_t kLineLength = 255;
// Columns read beyond the kept ones, to tell whether a value was cut.
constexpr std::size_t kWholeLength = 1 << 16;

}  // namespace

std::string nextline_eof(int lfn, int adjust, bool& eof, int* records, std::string* whole) {
  eof = false;
  int blanks = 0;
  std::string rec;
  for (;;) {
    // The kept 255 columns; with whole, up to kWholeLength columns are read.
    const platform::ReadStatus st =
        platform::read_record(lfn, rec, whole ? kWholeLength : kLineLength);
    if (st != platform::ReadStatus::Ok) {
      if (st == platform::ReadStatus::Error) {
        std::string name;
        platform::unit_connected(lfn, &name);
        framework::RDERR(framework::m_tolk.lfnMsg, lfn, name, "NEXTLINE");
      }
      eof = true;
      return {};
    }
    if (records) ++*records;
    if (blanks > 1000) return {};
    std::string longer;
    if (rec.size() > kLineLength) {
      longer = rec;
      rec.resize(kLineLength);
    }
    std::size_t start = 0;
    if (adjust == 1) {
      start = rec.find_first_not_of(' ');
      if (start == std::string::npos) start = rec.size();
      rec.erase(0, start);
    }
    if (platform::is_blank(rec)) {
      ++blanks;
      continue;
    }
    if (rec[0] == '#' || rec[0] == '!' || rec[0] == '*') continue;
    if (whole) {
      *whole = longer.empty() ? std::string() : std::string(platform::rtrim(longer.substr(start)));
    }
    return std::string(platform::rtrim(rec));
  }
}

std::string NEXTLINE(int lfn, int adjust) {
  bool eof = false;
  return nextline_eof(lfn, adjust, eof);
}

}  // namespace input
