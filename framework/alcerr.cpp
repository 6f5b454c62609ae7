#include <string>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/write_line.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"

namespace framework {

void ALCERR(int irc, std::string_view varName, const std::vector<long long>& sizes,
            std::string_view caller) {
  if (irc == 0) return;
  if (m_tolk.lfnMsg == 0) m_tolk.lfnMsg = 6;
  std::string sizeText = "(";
  for (std::size_t i = 0; i < sizes.size() && i < 25; ++i) {
    if (i > 0) sizeText += ", ";
    sizeText += platform::fmt_i(sizes[i], 8);
  }
  sizeText = platform::cut(sizeText + ")", 255);
  const std::string blanks(16, ' ');
  write_lines(m_tolk.lfnMsg,
              {"", " *** SR ALCERR: ALLOCATION OF AN ARRAY FAILED",
               blanks + "VARIABLE NAME : " + std::string(platform::rtrim(varName)),
               blanks + "SIZE OF ARRAY : " + sizeText,
               blanks + "PGM./SUBR.    : " + std::string(platform::rtrim(caller)),
               blanks + "ERROR STATUS  : " + platform::fmt_i(irc, 6), ""});
  EXITRC(2);
}

}  // namespace framework
