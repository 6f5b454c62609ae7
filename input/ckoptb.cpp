#include "input/ckoptb.h"

#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "input/ckopti.h"
#include "input/d_inpkey.h"
#include "input/m_ckopt.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"

namespace input {

namespace {

struct SetContext {
  int iMode;
  const std::vector<std::string>& keyWord;
  std::string_view srName, descr;
  const std::optional<std::string_view>& column;
  const std::optional<int>& lineNr;
  const std::optional<std::string_view>& entry;
};

// "Item" + the index right-aligned to the width of the set size + ":", in 13 columns.
std::string itemLabel(int i, int nSet) {
  std::string index = platform::list_int(i);
  const std::size_t width = platform::list_int(nSet).size();
  index.insert(0, width - index.size(), ' ');
  return platform::pad("Item" + index + ":", 13);
}

void writeSelectionError(const SetContext& c, int nSet, const std::vector<std::string>& first) {
  const int lfn = framework::m_tolk.lfnMsg;
  const std::string ind(kIndent);
  const std::string text = nSet == 0 ? "No item was selected for a set of radiobottons."
                                     : "More than one item was selected for a set of radiobottons.";
  framework::write_line(lfn, "");
  framework::write_line(lfn, ckoptPrefix(c.iMode, "CKOPTB") + text);
  framework::write_line(lfn, ind + "Input file:  " + inputFileName());
  framework::write_line(lfn, ind + "Called by:   " + std::string(platform::rtrim(c.srName)));
  framework::write_line(lfn, ind + "Option:      " + optionText(c.keyWord.empty() ? std::string() : c.keyWord[0], c.descr));
  if (c.column) framework::write_line(lfn, ind + "Column:      " + std::string(platform::rtrim(*c.column)));
  if (c.entry) framework::write_line(lfn, ind + "Entry for:   " + std::string(platform::rtrim(*c.entry)));
  if (c.lineNr) framework::write_line(lfn, ind + "Line number: " + platform::fmt_i(*c.lineNr, 5));
  const int n = static_cast<int>(c.keyWord.size());
  for (int i = 0; i < n; ++i) {
    framework::write_line(lfn, ind + itemLabel(i + 1, n) + std::string(platform::rtrim(c.keyWord[i])) +
                                   " = " + std::string(platform::rtrim(first[i])));
  }
  framework::write_line(lfn, " ");
}

}  // namespace

void CKOPTB(int iMode, const std::vector<std::string>& keyWord, std::string_view srName,
            std::string_view descr, int& irCode, std::optional<std::string_view> column,
            std::optional<int> lineNr, std::optional<std::string_view> entry,
            std::optional<int> init, std::optional<int> error, int* iSelect, bool* selected) {
  const std::string key1 = keyWord.empty() ? std::string() : keyWord[0];
  if (platform::len_trim(descr) > static_cast<std::size_t>(kMaxDescr)) {
    descrWarning("CKOPTB", descr, "Keyword 1: ", key1);
  }
  if (iMode != 0 && iMode != 1) {
    programmerError("CKOPTB", {"The first parameter has to be \"0\" or \"1\"."});
  }
  const int nKey = static_cast<int>(keyWord.size());
  if (iSelect && nKey == 1) *iSelect = 0;
  if (iSelect && init) *iSelect = *init;
  if (selected) *selected = false;
  const int before = irCode;
  int nSet = 0;
  std::vector<std::string> first;  // first value of each keyword, for the message
  for (int i = 0; i < nKey; ++i) {
    std::vector<std::string> value;
    int irc = 0;
    READKEYS(keyWord[i], value, irc);
    first.push_back(value.empty() ? std::string() : value[0]);
    int v = 0;
    CKOPTI(iMode, keyWord[i], value, srName, descr, irc, irCode, std::nullopt, 0, 1,
           std::nullopt, std::nullopt, std::nullopt, 1, std::nullopt, 0, nullptr, nullptr, &v);
    if (v == 0) continue;
    ++nSet;
    if (iSelect) *iSelect = i + 1;
    if (selected) *selected = true;
  }
  const bool accepted = nSet == 1 || (nSet == 0 && nKey == 1);
  if (irCode == before && accepted) return;
  if (iSelect && error && (irCode != before || iMode == 1)) *iSelect = *error;
  if (selected && (irCode != before || iMode == 1)) *selected = false;
  if (irCode != before) return;
  irCode += iMode;
  writeSelectionError({iMode, keyWord, srName, descr, column, lineNr, entry}, nSet, first);
}

}  // namespace input
