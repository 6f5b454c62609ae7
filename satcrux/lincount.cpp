#include <climits>
#include <string>

#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/rderr.h"
#include "input/gtflna.h"
#include "input/inquire.h"
#include "platform/fixed_text.h"
#include "platform/units.h"
#include "satcrux/d_satcrx.h"

namespace satcrux {
namespace {

constexpr std::size_t kLineLength = 255;

// The file of keyword name, else name itself when such a file exists;
// empty when neither.
std::string counted_file(std::string_view name) {
  std::string fileName;
  int irc = 1;
  input::GTFLNA(0, name, fileName, irc);
  if (irc == 0) return fileName;
  bool exists = false;
  input::INQUIRE(std::nullopt, name, nullptr, &exists);
  return exists ? std::string(platform::rtrim(name)) : std::string();
}

// Adds one to a count that never overflows.
void add_one(int& n) {
  if (n < INT_MAX) ++n;
}

}  // namespace

int LINCOUNT(std::string_view name, int nHead, int* trailing) {
  int count = 0;
  if (trailing) *trailing = 0;
  const std::string fileName = counted_file(name);
  if (fileName.empty()) return 0;
  const int lfn = framework::m_tolk.lfnWork;
  int ios = 0;
  framework::OPNFIL(lfn, fileName, "OLD", "FORMATTED", "READONLY", " ", ios);
  framework::OPNERR(framework::m_tolk.lfnMsg, lfn, ios, fileName, "linCount");
  std::string line;
  // A read error is no end of the file: it ends the run.
  const auto next = [&] {
    const platform::ReadStatus st = platform::read_record(lfn, line, kLineLength);
    if (st == platform::ReadStatus::Error) {
      framework::RDERR(framework::m_tolk.lfnMsg, lfn, fileName, "linCount");
    }
    return st == platform::ReadStatus::Ok;
  };
  bool ok = true;
  for (int i = 0; i < nHead && ok; ++i) ok = next();
  bool inTrailer = false;
  while (ok && next()) {
    inTrailer = inTrailer || platform::is_blank(line);
    if (!inTrailer) {
      add_one(count);
    } else if (trailing) {
      add_one(*trailing);
    } else {
      break;
    }
  }
  platform::close_unit(lfn);
  return count;
}

}  // namespace satcrux
