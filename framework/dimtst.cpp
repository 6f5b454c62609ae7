#include <string>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/write_line.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"
#include "timeutil/lengt1.h"

namespace framework {
namespace {

// A text up to its last non-blank character, at least one character long.
std::string used(std::string_view s) {
  return platform::pad(s, static_cast<std::size_t>(timeutil::LENGT1(s)));
}

// "MAXIMUM NUMBER ALLOWED" with its colon at position p; the text ends there.
std::string maximum_label(int p) {
  std::string t = platform::pad("MAXIMUM NUMBER ALLOWED", static_cast<std::size_t>(p));
  t[static_cast<std::size_t>(p) - 1] = ':';
  return t;
}

}  // namespace

void DIMTST(int stop, int printActual, int callerKind, std::string_view caller,
            std::string_view dimName, std::string_view what, std::string_view advice,
            int actual, int maximum, int& irc) {
  irc = 0;
  if (actual <= maximum) return;
  std::string head = " *** SR DIMTST: MAXIMUM DIMENSION \"" + used(dimName) + "\" EXCEEDED IN " +
                     (callerKind == 1 ? "PG" : "SR") + " " + used(caller);
  head = platform::cut(head, 80);
  if (stop == 0) head.replace(1, 3, "###");
  const std::string blanks(16, ' ');
  const std::string w = used(what);
  const int lfn = m_tolk.lfnMsg;
  write_lines(lfn, {"", head, blanks + "TOO MANY " + w});
  if (printActual == 1) {
    write_line(lfn, blanks + "ACTUAL NUMBER OF " + w + " :" + platform::fmt_i(actual, 7));
  }
  const int p = printActual == 1 ? timeutil::LENGT1(what) + 19 : 23;
  write_lines(lfn, {blanks + maximum_label(p) + platform::fmt_i(maximum, 7),
                    blanks + "INCREASE MAXIMUM DIMENSION \"" + used(dimName) + "\" OR",
                    blanks + "REDUCE NUMBER OF " + w});
  if (!platform::is_blank(advice)) write_line(lfn, blanks + used(advice));
  write_line(lfn, "");
  if (stop == 1) EXITRC(2);
  irc = 1;
}

}  // namespace framework
