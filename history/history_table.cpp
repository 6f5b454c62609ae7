#include "history/history_table.h"

#include <charconv>

#include "results/number_text.h"

namespace history {
namespace {

std::string csv_field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

std::string history_table(const HistoryView& v) {
  std::string out = "date,mjd,protocol,satellite,system,rms_m,split,eclipsing\n";
  out.reserve(v.rms.size() * 64);
  for (std::size_t d = 0; d < v.days.size(); ++d) {
    const ProtocolValues& p = *v.days[d].protocol;
    const std::string head = date_text(v.days[d].day) + "," + results::shortest_text(p.middle()) + "," +
                             csv_field(p.file) + ",";
    for (std::size_t r = 0; r < v.sats.size(); ++r) {
      if (!v.has(d, r)) continue;
      const unsigned char f = v.flags[v.at(d, r)];
      // A row is written in place: a year of 136 satellites has 50 000.
      char row[96];
      char* end = row + sizeof row;
      char* q = std::to_chars(row, end, v.sats[r]).ptr;
      *q++ = ',';
      for (char c : system_letter(v.system(r))) *q++ = c;
      *q++ = ',';
      q = std::to_chars(q, end, v.rms[v.at(d, r)]).ptr;
      for (char c : {',', (f & kSplit) ? '1' : '0', ',', (f & kEclipsing) ? '1' : '0', '\n'}) *q++ = c;
      out += head;
      out.append(row, q);
    }
  }
  return out;
}

}  // namespace history
