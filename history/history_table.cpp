#include "history/history_table.h"

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
      out += head;
      out += std::to_string(v.sats[r]) + "," + system_letter(v.system(r)) + "," +
             results::shortest_text(v.rms[v.at(d, r)]) + "," + ((f & kSplit) ? "1" : "0") + "," +
             ((f & kEclipsing) ? "1" : "0") + "\n";
    }
  }
  return out;
}

}  // namespace history
