#include "input/ckoptn.h"

#include <algorithm>

#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "input/m_ckopt.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"

namespace input {

namespace {

void tooMany(int iMode, std::string_view keyWord, std::string_view srName,
             std::string_view descr, int nItems, int maxItems) {
  std::string num = platform::list_int(nItems);
  std::string max = platform::list_int(maxItems);
  // Both counts right-aligned to a common width of at least 5.
  const std::size_t width = std::max<std::size_t>({num.size(), max.size(), 5});
  num.insert(0, width - num.size(), ' ');
  max.insert(0, width - max.size(), ' ');
  const int lfn = framework::m_tolk.lfnMsg;
  const std::string ind(kIndent);
  framework::write_line(lfn, "");
  framework::write_line(lfn, ckoptPrefix(iMode, "CKOPTN") + "Too many items found for keyword \"" +
                                 std::string(platform::rtrim(keyWord)) + "\".");
  framework::write_line(lfn, ind + "Input file:  " + inputFileName());
  framework::write_line(lfn, ind + "Called by:   " + std::string(platform::rtrim(srName)));
  framework::write_line(lfn, ind + "Option:      " + optionText(keyWord, descr));
  framework::write_line(lfn, ind + "Num of items:" + num);
  framework::write_line(lfn, ind + "Max of items:" + max);
  framework::write_line(lfn, " ");
}

}  // namespace

void CKOPTN(int iMode, std::string_view keyWord, const std::vector<std::string>& keyValue,
            int& nItems, std::string_view srName, std::string_view descr, int& irCode,
            int maxItems) {
  if (iMode != 0 && iMode != 1) {
    programmerError("CKOPTN", {"The first parameter has to be \"0\" or \"1\"."});
  }
  nItems = static_cast<int>(keyValue.size());
  if (nItems <= maxItems) return;
  tooMany(iMode, keyWord, srName, descr, nItems, maxItems);
  irCode += iMode;
}

}  // namespace input
