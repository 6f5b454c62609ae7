#include "input/nextline_eof.h"
#include "framework/m_tolk.h"
#include "framework/rderr.h"
#include "platform/fixed_text.h"
#include "platform/units.h"

namespace input {
namespace {

constexpr std::size_t kLineLength = 255;

}  // namespace

std::string nextline_eof(int lfn, int adjust, bool& eof, int* records) {
  eof = false;
  int blanks = 0;
  std::string rec;
  for (;;) {
    // Only the 255 columns that are kept are read into memory.
    const platform::ReadStatus st = platform::read_record(lfn, rec, kLineLength);
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
