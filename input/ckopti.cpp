#include "input/ckopti.h"

#include <algorithm>

#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "input/ckoptn.h"
#include "input/m_ckopt.h"
#include "platform/field_read.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"

namespace input {

namespace {

using Item = CheckedItem<int>;

Item classify(const std::string& value, const std::optional<int>& empty,
              const std::optional<int>& ge, const std::optional<int>& le) {
  Item it = convertItem(value, empty, [](std::string_view t, int& v) {
    return platform::parse_int_item(t, v);
  });
  if (it.status != kItemOk || platform::len_trim(value) == 0) return it;
  if ((ge && it.number < *ge) || (le && it.number > *le)) it.status = kItemRange;
  return it;
}

std::string rangeLine(const std::optional<int>& ge, const std::optional<int>& le) {
  if (ge && le) {
    std::string lo = platform::list_int(*ge);
    std::string hi = platform::list_int(*le);
    const std::size_t width = std::max(lo.size(), hi.size());
    lo.insert(0, width - lo.size(), ' ');
    hi.insert(0, width - hi.size(), ' ');
    return "Valid range: (" + lo + " <= value <=" + hi + " )";
  }
  if (ge) return "Expected:    ( value >=" + platform::list_int(*ge) + " )";
  return "Expected:    ( value <=" + platform::list_int(le.value_or(0)) + " )";
}

void writeRangeItems(const std::vector<Item>& items, const std::optional<int>& ge,
                     const std::optional<int>& le, int W) {
  const int lfn = framework::m_tolk.lfnMsg;
  const int nItems = static_cast<int>(items.size());
  for (int i = 0; i < nItems; ++i) {
    if (items[i].status != kItemRange) continue;
    const std::string text = "Bad value:   " + platform::list_int(items[i].number);
    framework::write_line(lfn, std::string(kIndent) + withLocation(text, locationText(i + 1, nItems), W));
  }
  framework::write_line(lfn, std::string(kIndent) + rangeLine(ge, le));
  framework::write_line(lfn, " ");
}


// The number of values allowed: the size of result, or of keyValue, at most
// maxVal. A mode other than 0 or 1, or maxVal above the size of result, ends the run.
int allowedItems(int iMode, std::string_view keyWord, const std::vector<std::string>& keyValue,
                 const std::optional<int>& maxVal, const std::vector<int>* result) {
  const std::string keyLine = "Keyword:  " + std::string(platform::rtrim(keyWord));
  if (iMode != 0 && iMode != 1) {
    programmerError("CKOPTI", {"The first parameter has to be \"0\" or \"1\".", keyLine});
  }
  long long n = result ? static_cast<long long>(result->size()) : static_cast<long long>(keyValue.size());
  if (!maxVal) return static_cast<int>(n);
  if (result && static_cast<long long>(result->size()) < *maxVal) {
    programmerError("CKOPTI", {"The optional parameter \"maxVal\" is bigger than the",
                               "size of the \"result\" array.", keyLine});
  }
  return static_cast<int>(std::min<long long>(n, *maxVal));
}

}  // namespace

void CKOPTI(int iMode, std::string_view keyWord, const std::vector<std::string>& keyValue,
            std::string_view srName, std::string_view descr, int irc, int& irCode,
            std::optional<int> empty, std::optional<int> ge, std::optional<int> le,
            std::optional<std::string_view> column, std::optional<int> lineNr,
            std::optional<std::string_view> entry, std::optional<int> maxVal,
            std::optional<int> init, std::optional<int> error, int* nError, int* nOk,
            int* result1, int* nResult, std::vector<int>* result) {
  if (!startCheck("CKOPTI", keyWord, descr, irc, irCode, init, error, nError, nOk, result1,
                  nResult, result)) {
    return;
  }
  const int n = allowedItems(iMode, keyWord, keyValue, maxVal, result);
  int nItems = 0;
  const int before = irCode;
  CKOPTN(1, keyWord, keyValue, nItems, srName, descr, irCode, n);
  if (irCode != before) {
    failOutputs(n, error, nError, nOk, result1, result);
    return;
  }
  std::vector<Item> items = temporary<Item>(static_cast<std::size_t>(nItems), "result", "ckopti");
  int W = -1;
  for (int i = 0; i < nItems; ++i) {
    items[i] = classify(keyValue[i], empty, ge, le);
    W = std::max(W, static_cast<int>(platform::len_trim(keyValue[i])));
  }
  storeResults(items, iMode, error, irCode, nError, nOk, result1, result);
  if (nResult) *nResult = nItems;
  const MsgContext context{"CKOPTI", "integer", keyWord, srName, descr, column, lineNr, entry};
  writeItemMessages(context, iMode, keyValue, statusesOf(items, "ckopti"), W,
                    [&] { writeRangeItems(items, ge, le, W); });
}

}  // namespace input
