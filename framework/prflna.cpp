#include "framework/prflna.h"

#include <algorithm>
#include <array>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/write_line.h"
#include "input/d_inpkey.h"
#include "platform/fixed_text.h"
#include "timeutil/iordup.h"

namespace framework {

namespace {

// General files, listed first in this order.
constexpr std::array<std::string_view, 45> kFirst = {
    "CONST",   "DATUM",   "GPSUTC",  "JPLEPH",  "POTCOE",  "SETIDES", "OTIDES",  "ALBEMIS",
    "ALBREFL", "SATCRUX", "SATELL",  "PHASECC", "ANTAZI",  "RECEIVR", "FRQINFO", "NUTMOD",
    "SUBMOD",  "POLE",    "STDORB",  "STDOR1",  "RPRCOE",  "TABFIL",  "SATCLK",  "RXCLKIN",
    "DCBINP",  "ISBINP",  "ABBREV",  "STAINFO", "STAFILE", "COORD",   "COORD1",  "COORD2",
    "CRDINP",  "CRDMTR",  "VELOS",   "VELAPR",  "VELINP",  "VELMTR",  "VELOCI",  "ECCENT",
    "OCNLOAD", "ATMLOAD", "STAWGT",  "TROPEST", "IONOS"};

// Result, plot, system-output, auxiliary and scratch files, listed last.
constexpr std::array<std::string_view, 27> kLast = {
    "REPOSSUM", "SUMOUT",  "SUMFIL",  "SUMACC", "SUMMARY", "HISTOGRAM", "SMCINO",
    "SMEINO",   "WEKSUM",  "WKSSUM",  "RESID",  "RESPLOT", "PLOTSKL",   "PLOTRS",
    "PLTFIL",   "RESIDRS", "SYSOUT",  "SYSERR", "AUXFIL",  "AUXCOD",    "AUXFIL1",
    "AUXFIL2",  "AUXPHS",  "OBCOPY",  "SCRATCH", "TABAUX", "SESSION_TABLE"};

constexpr std::string_view kDescr = "DESCR_";

// n zeros; a failed allocation ends the run through ALCERR.
std::vector<int> allocate(std::size_t n, std::string_view name) {
  std::vector<int> v;
  int irc = 0;
  try {
    v.resize(n);
  } catch (const std::bad_alloc&) {
    irc = 1;
  }
  ALCERR(irc, name, {static_cast<long long>(n)}, "prflna");
  return v;
}

// Rank of a keyword: 0 when it is no description, else its place in the
// first list (1-45), 1000 + its place in the last list, or 1000.
int rank(std::string_view name) {
  if (name.substr(0, kDescr.size()) != kDescr) return 0;
  const std::string file = platform::cut(name.substr(kDescr.size()), 32);
  for (std::size_t j = 0; j < kFirst.size(); ++j) {
    if (platform::same_text(file, kFirst[j])) return static_cast<int>(j) + 1;
  }
  for (std::size_t j = 0; j < kLast.size(); ++j) {
    if (platform::same_text(file, kLast[j])) return 1000 + static_cast<int>(j) + 1;
  }
  return 1000;
}

std::string firstValue(std::string_view keyWord) {
  std::vector<std::string> value;
  int irc = 0;
  input::READKEYS(keyWord, value, irc);
  return value.empty() ? std::string() : value[0];
}

// " " + the description in 32 columns + ": " + the file name (32 characters).
std::string fileLine(const std::string& name) {
  const std::string file(name.substr(kDescr.size()));
  std::string shown = platform::cut(firstValue(file), 32);
  if (platform::is_blank(shown)) shown = " ---";
  return " " + platform::pad(firstValue(name), 32) + ": " + shown;
}

}  // namespace

void PRFLNA(std::optional<int> lineLen) {
  const std::string rule(static_cast<std::size_t>(std::clamp(lineLen.value_or(79), 0, 255)), '-');
  std::vector<std::string> names;
  int irc = 0;
  input::READKEYS("*", names, irc);
  if (irc != 0) names.clear();
  const int lfn = m_tolk.lfnOut;
  write_line(lfn, " INPUT AND OUTPUT FILENAMES");
  write_lines(lfn, {" " + rule.substr(0, 26), "", " " + rule});
  const int n = static_cast<int>(names.size());
  std::vector<int> idxKeyw = allocate(names.size(), "idxKeyw");
  std::vector<int> indKeyw = allocate(names.size(), "indKeyw");
  for (int i = 0; i < n; ++i) idxKeyw[i] = rank(names[i]);
  timeutil::IORDUP(idxKeyw, n, indKeyw);
  for (int k = 0; k < n; ++k) {
    const int i = indKeyw[k] - 1;
    if (idxKeyw[i] != 0) write_line(lfn, fileLine(names[i]));
  }
  write_lines(lfn, {" " + rule, "", ""});
}

}  // namespace framework
