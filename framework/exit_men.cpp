#include <new>
#include <string>
#include <vector>

#include "framework/d_pgmid.h"
#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/rderr.h"
#include "framework/write_line.h"
#include "platform/fixed_text.h"
#include "platform/units.h"

namespace framework {
namespace {

// Records of the file, not counting a run of more than 1000 blank records.
std::size_t count_records(int lfn) {
  std::size_t count = 0, blanks = 0;
  std::string rec;
  while (platform::read_record(lfn, rec) == platform::ReadStatus::Ok) {
    blanks = platform::is_blank(platform::cut(rec, 255)) ? blanks + 1 : 0;
    if (blanks > 1000) return count - 1000;
    ++count;
  }
  RDERR(m_tolk.lfnMsg, lfn, auxInpFil, "EXIT_MEN");  // a file read in part is not rewritten
  return count;
}

std::string ircode_record(int ircode) {
  return std::string("PANLAID_IRCODE  1  \"") + (ircode == 0 ? "0" : "2") + "\"";
}

}  // namespace

void EXIT_MEN(int ircode) {
  if (!platform::same_text(d_pgmid.pgmName, "PANLAID")) return;
  const int lfn = m_tolk.lfnWork;
  int ios = 0;
  OPNFIL(lfn, auxInpFil, "OLD", "FORMATTED", " ", " ", ios);
  if (ios != 0) return;
  const std::size_t n = count_records(lfn);
  std::vector<std::string> buffer;
  try {
    buffer.resize(n);
  } catch (const std::bad_alloc&) {
    write_lines(m_tolk.lfnMsg,
                {"", " *** SR EXIT_MEN: Variable \"buffer\" could not be allocated", ""});
    return;
  }
  platform::rewind_unit(lfn);
  for (std::string& rec : buffer) {
    if (platform::read_record(lfn, rec) == platform::ReadStatus::Error) {
      RDERR(m_tolk.lfnMsg, lfn, auxInpFil, "EXIT_MEN");
    }
    rec = platform::cut(rec, 255);
    if (rec.compare(0, 14, "PANLAID_IRCODE") == 0) rec = ircode_record(ircode);
  }
  platform::close_unit(lfn);
  OPNFIL(lfn, auxInpFil, "OLD", "FORMATTED", " ", " ", ios);
  if (ios != 0) return;
  for (const std::string& rec : buffer) write_line(lfn, platform::rtrim(rec));
  platform::close_unit(lfn);
}

}  // namespace framework
