#include "input/ckoptr.h"

#include <algorithm>
#include <cmath>

#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "input/ckoptn.h"
#include "input/m_ckopt.h"
#include "platform/field_read.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"

namespace input {

namespace {

using Item = CheckedItem<double>;

struct Limits {
  std::optional<double> ge, le, gt, lt;
};

// The number layout of a range message: "(E12.4)" or Fw.4.
struct NumFormat {
  bool expo = false;
  int w = 8;
  int width() const { return expo ? 12 : w; }
  std::string put(double v) const { return expo ? platform::fmt_e(v, 12, 4) : platform::fmt_f(v, w, 4); }
  std::string trimmed(double v) const { return std::string(platform::rtrim(put(v))); }
};

Item classify(const std::string& value, const std::optional<double>& empty, const Limits& lim) {
  Item it = convertItem(value, empty, [](std::string_view t, double& v) {
    return platform::parse_real_item(t, v);
  });
  if (it.status != kItemOk || platform::len_trim(value) == 0) return it;
  const double v = it.number;
  if ((lim.ge && v < *lim.ge) || (lim.gt && v <= *lim.gt) || (lim.le && v > *lim.le) ||
      (lim.lt && v >= *lim.lt)) {
    it.status = kItemRange;
  }
  return it;
}

// The first nItems values checked; W = the length of the longest.
std::vector<Item> checkItems(const std::vector<std::string>& keyValue, int nItems,
                             const std::optional<double>& empty, const Limits& lim, int& W) {
  std::vector<Item> items = temporary<Item>(static_cast<std::size_t>(nItems), "result", "ckoptr");
  for (int i = 0; i < nItems; ++i) {
    items[i] = classify(keyValue[i], empty, lim);
    W = std::max(W, static_cast<int>(platform::len_trim(keyValue[i])));
  }
  return items;
}

// Chosen from the limits and the smallest and largest absolute value of the
// out-of-range items.
NumFormat rangeFormat(const Limits& lim, const std::vector<Item>& items) {
  std::vector<double> considered;
  if (lim.ge || lim.gt) considered.push_back(lim.ge ? *lim.ge : *lim.gt);
  if (lim.le || lim.lt) considered.push_back(lim.le ? *lim.le : *lim.lt);
  // Values between the smallest and the largest do not count.
  std::optional<double> smallest, largest;
  for (const Item& it : items) {
    if (it.status != kItemRange) continue;
    const double a = std::fabs(it.number);
    if (!smallest || a < *smallest) smallest = a;
    if (!largest || a > *largest) largest = a;
  }
  if (smallest) considered.insert(considered.end(), {*smallest, *largest});
  NumFormat f;
  double biggest = 0.0;
  for (double v : considered) {
    const double a = std::fabs(v);
    if (a > 100000.0 || (a < 0.001 && a != 0.0)) f.expo = true;
    biggest = std::max(biggest, a);
  }
  if (!f.expo) f.w = static_cast<int>(platform::list_int(std::llround(biggest)).size()) + 6;
  return f;
}

std::string rangeLine(const Limits& lim, const NumFormat& f) {
  const bool lower = lim.ge || lim.gt;
  const bool upper = lim.le || lim.lt;
  if (lower && upper) {
    std::string rel = lim.ge ? " <= value <" : " < value <";
    if (lim.le) rel += "=";
    return "Valid range: (" + f.trimmed(lim.ge ? *lim.ge : *lim.gt) + rel +
           f.trimmed(lim.le ? *lim.le : *lim.lt) + " )";
  }
  if (lim.ge) return "Expected:    ( value >=" + f.trimmed(*lim.ge) + " )";
  if (lim.gt) return "Expected:    ( value >" + f.trimmed(*lim.gt) + " )";
  if (lim.le) return "Expected:    ( value <=" + f.trimmed(*lim.le) + " )";
  return "Expected:    ( value <" + f.trimmed(*lim.lt) + " )";
}

void writeRangeItems(const std::vector<Item>& items, const Limits& lim, int W) {
  const NumFormat f = rangeFormat(lim, items);
  W = std::max(W, f.width());
  const int lfn = framework::m_tolk.lfnMsg;
  const int nItems = static_cast<int>(items.size());
  for (int i = 0; i < nItems; ++i) {
    if (items[i].status != kItemRange) continue;
    const std::string text = "Bad value:   " + f.put(items[i].number);
    framework::write_line(lfn, std::string(kIndent) + withLocation(text, locationText(i + 1, nItems), W));
  }
  framework::write_line(lfn, std::string(kIndent) + rangeLine(lim, f));
  framework::write_line(lfn, " ");
}


// Mistakes of the calling code: each ends the run.
void checkCall(int iMode, std::string_view keyWord, const Limits& lim) {
  const std::string keyLine = "Keyword:  " + std::string(platform::rtrim(keyWord));
  if (iMode != 0 && iMode != 1) {
    programmerError("CKOPTR", {"The first parameter has to be \"0\" or \"1\".", keyLine});
  }
  if (lim.ge && lim.gt) {
    programmerError("CKOPTR", {"You have specified the optional arguments \"ge\" and \"gt\"",
                               "in the same call of the subroutine."});
  }
  if (lim.le && lim.lt) {
    programmerError("CKOPTR", {"You have specified the optional arguments \"le\" and \"lt\"",
                               "in the same call of the subroutine."});
  }
}

// The number of values allowed: the size of result, or of keyValue, at most maxVal.
int allowedItems(std::string_view keyWord, const std::vector<std::string>& keyValue,
                 const std::optional<int>& maxVal, const std::vector<double>* result) {
  long long n = result ? static_cast<long long>(result->size()) : static_cast<long long>(keyValue.size());
  if (!maxVal) return static_cast<int>(n);
  if (result && static_cast<long long>(result->size()) < *maxVal) {
    programmerError("CKOPTR", {"The optional parameter \"maxVal\" is bigger that the",
                               "size of the \"result\" array.",
                               "Keyword:  " + std::string(platform::rtrim(keyWord))});
  }
  return static_cast<int>(std::min<long long>(n, *maxVal));
}

}  // namespace

void CKOPTR(int iMode, std::string_view keyWord, const std::vector<std::string>& keyValue,
            std::string_view srName, std::string_view descr, int irc, int& irCode,
            std::optional<double> empty, std::optional<double> ge, std::optional<double> le,
            std::optional<double> gt, std::optional<double> lt,
            std::optional<std::string_view> column, std::optional<int> lineNr,
            std::optional<std::string_view> entry, std::optional<int> maxVal,
            std::optional<double> init, std::optional<double> error, int* nError, int* nOk,
            double* result1, int* nResult, std::vector<double>* result) {
  if (!startCheck("CKOPTR", keyWord, descr, irc, irCode, init, error, nError, nOk, result1,
                  nResult, result)) {
    return;
  }
  const Limits lim{ge, le, gt, lt};
  checkCall(iMode, keyWord, lim);
  const int n = allowedItems(keyWord, keyValue, maxVal, result);
  int nItems = 0;
  const int before = irCode;
  CKOPTN(1, keyWord, keyValue, nItems, srName, descr, irCode, n);
  if (irCode != before) {
    failOutputs(n, error, nError, nOk, result1, result);
    return;
  }
  int W = -1;
  const std::vector<Item> items = checkItems(keyValue, nItems, empty, lim, W);
  storeResults(items, iMode, error, irCode, nError, nOk, result1, result);
  if (nResult) *nResult = nItems;
  const MsgContext context{"CKOPTR", "real", keyWord, srName, descr, column, lineNr, entry};
  writeItemMessages(context, iMode, keyValue, statusesOf(items, "ckoptr"), W,
                    [&] { writeRangeItems(items, lim, W); });
}

}  // namespace input
