// Message pieces and result handling shared by the option checkers
// CKOPTR, CKOPTI, CKOPTN and CKOPTB.
#pragma once
#include <functional>
#include <initializer_list>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/opnfil.h"
#include "platform/fixed_text.h"

namespace input {

// Item status of one value: valid, empty, not convertible, out of range.
constexpr int kItemOk = 0;
constexpr int kItemEmpty = 1;
constexpr int kItemBadText = 2;
constexpr int kItemRange = 3;

// Longest description that the "Option:" line shows.
constexpr int kMaxDescr = 45;

// Sixteen blanks: the indentation of every continuation line.
constexpr std::string_view kIndent = "                ";

// One value of a keyword after conversion and checking.
template <class T>
struct CheckedItem {
  int status = kItemOk;
  T number{};
  bool hasNumber = false;  // false: empty or unreadable text
};

// An item's number and status before the range test: an empty text is
// `empty` (status 1 without it); the first free-format item is read with
// parse (status 2 when it is not a number).
template <class T, class Parse>
CheckedItem<T> convertItem(const std::string& value, const std::optional<T>& empty, Parse parse);

// " *** SR name: " in mode 1, " ### SR name: " otherwise.
std::string ckoptPrefix(int iMode, std::string_view routine);

// The name of the input file as the keyword store reports it.
std::string inputFileName();

// The option's description from the input file (45 characters), or descr
// cut to 45 when the file has none.
std::string optionText(std::string_view keyWord, std::string_view descr);

// Location of item i among nItems: blank for a single item, else "in line i".
std::string locationText(int i, int nItems);

// text, then loc starting at character W + 20 (the text is never cut).
std::string withLocation(const std::string& text, const std::string& loc, int W);

// First free-format item of a value: leading blanks skipped, ends at a blank,
// a comma or a slash.
std::string firstItem(std::string_view value);

template <class T, class Parse>
CheckedItem<T> convertItem(const std::string& value, const std::optional<T>& empty, Parse parse) {
  CheckedItem<T> it;
  if (platform::len_trim(value) == 0) {
    if (!empty) {
      it.status = kItemEmpty;
      return it;
    }
    it.number = *empty;
  } else {
    T v{};
    if (!parse(firstItem(value), v)) {
      it.status = kItemBadText;
      return it;
    }
    it.number = v;
  }
  it.hasNumber = true;
  return it;
}

// Headline and the "Input file:", "Called by:", "Option:" lines, plus the
// "Column:", "Entry for:" and "Line number:" lines where given (the last two
// only for a single item).
void writeMsgHead(const std::string& headline, std::string_view keyWord,
                  std::string_view srName, std::string_view descr,
                  const std::optional<std::string_view>& column,
                  const std::optional<int>& lineNr,
                  const std::optional<std::string_view>& entry, bool oneItem);

// What the message blocks of a CKOPTR or CKOPTI call show besides the items.
struct MsgContext {
  std::string_view routine;   // "CKOPTR" or "CKOPTI"
  std::string_view typeName;  // "real" or "integer"
  std::string_view keyWord, srName, descr;
  std::optional<std::string_view> column;
  std::optional<int> lineNr;
  std::optional<std::string_view> entry;
};

// One message block per item status 1, 2, 3 that occurs (in that order); W is
// the longest value. writeRange writes the status 3 lines and the range line.
void writeItemMessages(const MsgContext& c, int iMode, const std::vector<std::string>& keyValue,
                       const std::vector<int>& statuses, int W,
                       const std::function<void()>& writeRange);

// The warning for a description longer than 45 characters (not fatal).
void descrWarning(std::string_view routine, std::string_view descr,
                  std::string_view keyLabel, std::string_view keyWord);

// "Dear programmer" stop: headline, the lines after 16 blanks, EXITRC(2).
[[noreturn]] void programmerError(std::string_view routine,
                                  std::initializer_list<std::string_view> lines);

// Every output that is present set to v.
template <class T>
void setOutputs(T v, T* result1, std::vector<T>* result) {
  if (result1) *result1 = v;
  if (result) result->assign(result->size(), v);
}

// No valid item: nOk 0, nError bad, and error into every output present.
template <class T>
void failOutputs(int bad, const std::optional<T>& error, int* nError, int* nOk, T* result1,
                 std::vector<T>* result) {
  if (nOk) *nOk = 0;
  if (nError) *nError = bad;
  if (error) setOutputs(*error, result1, result);
}

// The opening steps of CKOPTR and CKOPTI: the description warning, nResult
// and init, and a missing keyword (irc != 0: irCode + 1, nError 99).
// Returns false when the call is complete.
template <class T>
bool startCheck(std::string_view routine, std::string_view keyWord, std::string_view descr,
                int irc, int& irCode, const std::optional<T>& init,
                const std::optional<T>& error, int* nError, int* nOk, T* result1,
                int* nResult, std::vector<T>* result) {
  if (platform::len_trim(descr) > static_cast<std::size_t>(kMaxDescr)) {
    descrWarning(routine, descr, "Keyword:  ", keyWord);
  }
  if (nResult) *nResult = 0;
  if (init) setOutputs(*init, result1, result);
  if (irc == 0) return true;
  irCode += 1;
  failOutputs(99, error, nError, nOk, result1, result);
  return false;
}

// A temporary array of n elements; a failed allocation is reported through
// ALCERR under name and caller, which ends the run.
template <class T>
std::vector<T> temporary(std::size_t n, std::string_view name, std::string_view caller) {
  std::vector<T> v;
  int irc = 0;
  try {
    v.resize(n);
  } catch (const std::bad_alloc&) {
    irc = 1;
  }
  framework::ALCERR(irc, name, {static_cast<long long>(n)}, caller);
  return v;
}

// The statuses of the items, in item order (the array "irCode" of caller).
template <class T>
std::vector<int> statusesOf(const std::vector<CheckedItem<T>>& items, std::string_view caller) {
  std::vector<int> statuses = temporary<int>(items.size(), "irCode", caller);
  for (std::size_t i = 0; i < items.size(); ++i) statuses[i] = items[i].status;
  return statuses;
}

// Counts the items into irCode, nError and nOk and fills result and result1:
// a valid item (or any item with a number in mode 0) gives its number, a bad
// one error when given; an item without a number leaves an output as it is.
template <class T>
void storeResults(const std::vector<CheckedItem<T>>& items, int iMode,
                  const std::optional<T>& error, int& irCode, int* nError, int* nOk,
                  T* result1, std::vector<T>* result) {
  int bad = 0, good = 0;
  const CheckedItem<T>* firstOk = nullptr;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const CheckedItem<T>& it = items[i];
    if (it.status == kItemOk) {
      ++good;
      if (!firstOk) firstOk = &it;
    } else {
      ++bad;
      irCode += iMode;
    }
    if (!result || i >= result->size()) continue;
    if (it.hasNumber && (it.status == kItemOk || iMode == 0)) {
      (*result)[i] = it.number;
    } else if (error) {
      (*result)[i] = *error;
    }
  }
  if (nError) *nError = bad;
  if (nOk) *nOk = good;
  if (!result1) return;
  if (firstOk) {
    *result1 = firstOk->number;
  } else if (error && (iMode == 1 || items.empty() || !items[0].hasNumber)) {
    *result1 = *error;
  } else if (!items.empty() && items[0].hasNumber) {
    *result1 = items[0].number;
  }
}

}  // namespace input
