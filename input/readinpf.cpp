#include <new>
#include <stdexcept>
#include <string>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/write_line.h"
#include "input/chkfln.h"
#include "input/clean_value.h"
#include "input/d_inpkey.h"
#include "input/keyword_line.h"
#include "input/nextline_eof.h"
#include "platform/fixed_text.h"
#include "platform/process.h"
#include "platform/units.h"

namespace input {
namespace {

[[noreturn]] void decoding_error(const std::string& line) {
  framework::write_lines(framework::m_tolk.lfnMsg,
                         {"", "*** SR READKEYS: Error decoding keyword line",
                          "                 panel: " + std::string(platform::rtrim(inpKey.inpFil)),
                          "                 line : " + std::string(platform::rtrim(line)), ""});
  framework::EXITRC(2);
}

// Number of keyword lines; the lines of each keyword's value list are skipped.
int count_keywords(int lfn) {
  int count = 0;
  bool eof = false;
  for (;;) {
    const std::string line = nextline_eof(lfn, 1, eof);
    if (line.empty()) return count;
    ++count;
    std::string name;
    int n = 0;
    if (!decode_keyword_line(line, name, n)) decoding_error(line);
    for (int k = 1; n > 1 && k <= n; ++k) {
      nextline_eof(lfn, 1, eof);
      if (eof) return count;
    }
  }
}

template <typename T>
void allocate(std::vector<T>& v, long long n, const char* varName, const char* caller) {
  int irc = 0;
  if (n > kMaxArrayBytes / static_cast<long long>(sizeof(T))) {
    irc = 1;
  } else {
    try {
      v.assign(static_cast<std::size_t>(n < 0 ? 0 : n), T{});
    } catch (const std::bad_alloc&) {
      irc = 1;
    } catch (const std::length_error&) {
      irc = 1;
    }
  }
  framework::ALCERR(irc, varName, {n}, caller);
}

// The value of a line as stored, and whether the line's cut at 255 columns
// changed it (whole: the longer line, empty when it was not cut).
std::string stored_value(const std::string& line, const std::string& whole, std::size_t item,
                         bool rawFromQuote, bool& cut) {
  std::string v = line_value(line, item, rawFromQuote);
  clean_value(v);
  cut = false;
  if (!whole.empty()) {
    std::string w = line_value(whole, item, rawFromQuote, std::string::npos);
    clean_value(w);
    cut = platform::rtrim(w) != platform::rtrim(v);
  }
  return v;
}

void read_values(int lfn, const std::string& line, const std::string& whole, int n,
                 framework::t_key& key) {
  allocate(key.value, n == 0 ? 1 : n, "inpKey%keys(ikey)%value", "readkeys");
  key.hasValue = true;
  key.cut.assign(key.value.size(), false);
  bool cut = false;
  if (n == 1) {
    key.value[0] = stored_value(line, whole, 2, true, cut);
    key.cut[0] = cut;
  }
  bool eof = false;
  for (int j = 0; n >= 2 && j < n && !eof; ++j) {
    std::string vwhole;
    const std::string vline = nextline_eof(lfn, 1, eof, nullptr, &vwhole);
    key.value[static_cast<std::size_t>(j)] = stored_value(vline, vwhole, 0, false, cut);
    key.cut[static_cast<std::size_t>(j)] = cut;
  }
}

void store_delete_list(const framework::t_key& key, int n) {
  allocate(inpKey.delFil, n, "inpKey%delFil", "readInpf");
  inpKey.hasDelFil = true;
  inpKey.nDel = n < 0 ? 0 : n;
  for (int k = 0; k < inpKey.nDel; ++k) {
    inpKey.delFil[static_cast<std::size_t>(k)] = key.value[static_cast<std::size_t>(k)];
  }
}

void read_keywords(int lfn) {
  bool eof = false;
  for (framework::t_key& key : inpKey.keys) {
    std::string whole;
    const std::string line = nextline_eof(lfn, 1, eof, nullptr, &whole);
    if (line.empty()) break;
    std::string name;
    int n = 0;
    if (!decode_keyword_line(line, name, n)) decoding_error(line);
    key.name = platform::cut(name, 32);
    read_values(lfn, line, whole, n, key);
    if (key.name == "DELETE_FILES") store_delete_list(key, n);
  }
}

// Entries of the delete list that name a keyword become its first value.
// A name cut with its line ends the run before anything is deleted, or is
// added to refused.
void resolve_delete_list(std::vector<NameFault>* refused) {
  const framework::t_key* list = nullptr;
  for (const framework::t_key& key : inpKey.keys) {
    if (key.name == "DELETE_FILES") list = &key;
  }
  for (std::size_t k = 0; k < inpKey.delFil.size(); ++k) {
    std::string& entry = inpKey.delFil[k];
    bool cut = list && k < list->cut.size() && list->cut[k];
    for (const framework::t_key& key : inpKey.keys) {
      if (cut || !platform::same_text(key.name, entry)) continue;
      if (!key.value.empty()) entry = key.value[0];
      cut = !key.cut.empty() && key.cut[0];
      break;
    }
    if (!cut) continue;
    const NameFault fault{"READINPF", "DELETE_FILES", entry, TooLong::LineCut, 0, k};
    if (!refused) name_too_long(fault);
    refused->push_back(fault);
  }
}

// The input file's name from the command line; one that does not fit is
// refused rather than cut to another name.
std::string command_line_name() {
  std::string joined;
  bool first = true;
  for (const std::string& a : platform::args()) {
    joined += (first ? "" : " ") + a;
    first = false;
  }
  const std::size_t start = joined.find_first_not_of(' ');
  const std::size_t length = start == std::string::npos ? 0 : platform::len_trim(joined) - start;
  if (length > 255) name_too_long("READINPF", "", joined.substr(start), TooLong::Given, length);
  return MYGETARG();
}

}  // namespace

void READINPF(std::string_view inpFil, t_inpkey& store, std::vector<NameFault>* refused) {
  if (store.status >= 1 && !platform::is_blank(inpFil) && platform::same_text(inpFil, store.inpFil)) {
    return;
  }
  INIT_INPKEY(store);
  store.status = 1;
  store.inpFil = platform::is_blank(inpFil) ? command_line_name() : platform::cut(inpFil, 255);

  const int lfn = framework::m_tolk.lfnWork;
  int ios = 0;
  framework::OPNFIL(lfn, store.inpFil, "OLD", "FORMATTED", "READONLY", " ", ios);
  framework::OPNERR(framework::m_tolk.lfnMsg, lfn, ios, store.inpFil, "readInpf");
  // A pipe or a FIFO is read once; held in memory, it is read twice as a file is.
  platform::hold_in_memory(lfn);

  // An editor may start the file with a byte-order mark: it belongs to no keyword.
  platform::skip_byte_order_mark(lfn);
  const int count = count_keywords(lfn);
  store.nKeys = count;
  allocate(store.keys, count, "inpKey%keys", "readInpf");
  store.hasKeys = true;
  platform::rewind_unit(lfn);
  platform::skip_byte_order_mark(lfn);
  read_keywords(lfn);
  platform::close_unit(lfn);
  resolve_delete_list(refused);
  store.status = 2;
}

}  // namespace input
