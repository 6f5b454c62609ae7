#include "orbit_check/extdef.h"

#include <algorithm>
#include <string>

#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/rderr.h"
#include "framework/write_line.h"
#include "platform/field_read.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"
#include "platform/units.h"
#include "timeutil/st2tim.h"

namespace orbit_check {

ExtdefState s_extdef;

namespace {

constexpr int kSearchLimit = 100000;  // lines of one search, passes of the table scan
constexpr int kBlockLimit = 1000;     // lines of one eclipse block
constexpr std::size_t kLineLength = 150;

constexpr std::string_view kIterHead = "NUMBER OF ITERATIONS";
constexpr std::string_view kArcHead = "ARC  START TIME";
constexpr std::string_view kSatCountHead = "TOTAL NUMBER OF SATELLITES   :";
constexpr std::string_view kRmsHead = "RMS ERRORS AND MAX. RESIDUALS";
constexpr std::string_view kTableHeadA = "SAT    #POS";
constexpr std::string_view kTableHeadB = "SAT   #POS";
constexpr std::string_view kEclipseHead = "NUMBER OF ECLIPSING SATELLITES:";

// Columns of the number of positions and of the RMS in a satellite table row.
struct Layout {
  int posFirst, posLast, rmsFirst, rmsLast;
};
constexpr Layout kLayoutA{9, 12, 16, 21};
constexpr Layout kLayoutB{8, 11, 15, 20};

// The caller's outputs.
struct Outputs {
  std::array<double, 2>& window;
  int& nSat;
  std::array<int, kMaxSat>& satNum;
  std::array<double, kMaxSat>& rms;
  int& nEcl;
  std::array<int, kMaxEcl>& eclSat;
  std::array<int, kMaxEcl>& longShadow;
  int& nArc;
  TableCount table;  // of this call
};

// How the reader goes on after a phase: with the next phase, done, or ended
// early (end of file or a field that is not a number: return code 1).
enum class Flow { Next, Done, Ended };

// The protocol's lines one at a time, each cut to 150 columns; the current
// line is a view into the unit's read buffer, valid until the next read.
class Protocol {
 public:
  Protocol(int lfn, std::string_view fileName) : lfn_(lfn), reader_(lfn), fileName_(fileName) {}

  // Reads the next line; false at the end of the file. A read error ends the run.
  bool next() {
    const platform::ReadStatus st = reader_.next(line_, kLineLength);
    if (st == platform::ReadStatus::Error) {
      framework::RDERR(framework::m_tolk.lfnMsg, lfn_, fileName_, "EXTDEF");
    }
    if (st != platform::ReadStatus::Ok) return false;
    ++lineNo_;
    return true;
  }

  std::string_view cols(int first, int last) const {
    return platform::col_view(line_, first, last);
  }
  // Every heading ends in a non-blank, so a short line never matches. Most
  // lines differ in the first character: tested before the rest (the
  // searches test every line of the file).
  bool heading(std::string_view text, int first) const {
    const std::size_t from = static_cast<std::size_t>(first) - 1;
    return line_.size() >= from + text.size() && line_[from] == text[0] &&
           line_.compare(from, text.size(), text) == 0;
  }
  bool blank(int first, int last) const { return platform::is_blank(cols(first, last)); }
  bool int_at(int first, int last, int& v) const {
    return platform::read_int_field(cols(first, last), v);
  }
  bool free_int_at(int first, int last, int& v) const {
    return platform::read_free_int(cols(first, last), v);
  }
  std::string_view fileName() const { return fileName_; }

  // Warns that a field of the current line is not a number; the reader ends.
  Flow unreadable(std::string_view field) const {
    const std::string b16(16, ' ');
    framework::write_lines(framework::m_tolk.lfnMsg,
                           {"", " ### SR EXTDEF: Protocol field is not a number, reading stopped",
                            b16 + "File name  : " + std::string(platform::rtrim(fileName_)),
                            b16 + "Line number: " + platform::fmt_i(lineNo_, 0),
                            b16 + "Field      : " + std::string(field), ""});
    return Flow::Ended;
  }

 private:
  int lfn_;
  platform::RecordReader reader_;
  std::string_view fileName_;
  std::string_view line_;
  long long lineNo_ = 0;
};

enum class Search { Found, GaveUp, Eof };

// Reads up to 100 000 lines until match() holds for the current line.
template <class Match>
Search search(Protocol& p, Match match) {
  for (int n = 0; n < kSearchLimit; ++n) {
    if (!p.next()) return Search::Eof;
    if (match()) return Search::Found;
  }
  return Search::GaveUp;
}

Flow after_search(Search s) { return s == Search::Eof ? Flow::Ended : Flow::Next; }

// A count from the protocol, cut to most with a warning. The count fields
// cannot state more than the extract holds; the guard stays for safety.
int limited(int count, int most, std::string_view what, const Protocol& p) {
  int irc = 0;
  framework::DIMTST(0, 1, 2, "EXTDEF", "maxsat", what,
                    "The first " + std::to_string(most) +
                        " are kept. Protocol file: " + std::string(platform::rtrim(p.fileName())),
                    count, most, irc);
  return std::min(count, most);
}

Flow find_iterations(Protocol& p) {
  const Search s = search(p, [&] { return p.heading(kIterHead, 2); });
  if (s != Search::Found) return after_search(s);
  int iter = 0;
  if (!p.int_at(53, 55, iter)) return p.unreadable("final iteration number, columns 53-55");
  s_extdef.finalIter = iter;
  return Flow::Next;
}

// The window text is a 40-column buffer: columns 7-46, blank beyond the line.
void read_window(const Protocol& p, std::array<double, 2>& window) {
  std::array<char, 40> text;
  text.fill(' ');
  const std::string_view field = p.cols(7, 46);
  std::copy(field.begin(), field.end(), text.begin());
  timeutil::ST2TIM(1, 2, std::string_view(text.data(), text.size()), window);
}

Flow read_arc_table(Protocol& p, int arcNum, Outputs& out) {
  const Search s = search(p, [&] { return p.heading(kArcHead, 2); });
  if (s != Search::Found) return after_search(s);
  // Two lines under the heading, then the first row.
  for (int i = 0; i < 3; ++i) {
    if (!p.next()) return Flow::Ended;
  }
  for (;;) {
    int arc = 0;
    if (!p.int_at(2, 4, arc)) return p.unreadable("arc number, columns 2-4");
    if (arc != 0) out.nArc = arc;
    if (arc == arcNum) {
      read_window(p, out.window);
      out.table.window = true;
    }
    // The line after the terminating row is consumed as well.
    if (!p.next()) return Flow::Ended;
    if (arc == 0) return Flow::Next;
  }
}

Flow find_sat_count(Protocol& p, Outputs& out) {
  const Search s = search(p, [&] { return p.heading(kSatCountHead, 2); });
  if (s != Search::Found) return after_search(s);
  int n = 0;
  if (!p.free_int_at(33, 35, n)) return p.unreadable("satellite count, columns 33-35");
  out.nSat = limited(n, kMaxSat, "satellites", p);
  out.table.count = out.nSat;
  return Flow::Next;
}

Flow find_rms_heading(Protocol& p, int arcNum) {
  int arc = 0;
  int iter = 0;
  return after_search(search(p, [&] {
    return p.heading(kRmsHead, 2) && p.int_at(45, 47, arc) && p.int_at(78, 80, iter) &&
           arc == arcNum && iter == s_extdef.finalIter;
  }));
}

const Layout* table_layout(const Protocol& p) {
  if (p.heading(kTableHeadA, 2)) return &kLayoutA;
  if (p.heading(kTableHeadB, 2)) return &kLayoutB;
  return nullptr;
}

// Rows into entries 1, 2, ...; a row that is not numbers ends the table.
// False at the end of the file.
bool read_sat_table(Protocol& p, const Layout& lay, Outputs& out) {
  out.table.rows = 0;
  if (!p.next()) return false;
  const int rows = std::clamp(out.nSat, 0, kMaxSat);
  for (int i = 0; i < rows; ++i) {
    if (!p.next()) return false;
    int sat = 0;
    int positions = 0;
    double rms = 0.0;
    if (!p.int_at(2, 4, sat) || !p.int_at(lay.posFirst, lay.posLast, positions) ||
        !platform::read_real_field(p.cols(lay.rmsFirst, lay.rmsLast), 2, rms)) {
      break;
    }
    out.satNum[i] = sat;
    out.rms[i] = rms;
    out.table.rows = i + 1;
  }
  return true;
}

// Block j: lines up to one with blank columns 18-22 (consumed), 1000 at most.
Flow read_eclipse_block(Protocol& p, int j, Outputs& out) {
  out.longShadow[j] = 0;
  for (int n = 0; n < kBlockLimit; ++n) {
    if (!p.next()) return Flow::Ended;
    if (p.blank(18, 22)) return Flow::Next;
    int minutes = 0;
    int seconds = 0;
    if (!p.int_at(18, 19, minutes) || !p.int_at(21, 22, seconds)) {
      return p.unreadable("shadow passage duration, columns 18-22");
    }
    out.longShadow[j] = std::max(out.longShadow[j], minutes * 60 + seconds);
    if (p.blank(2, 4)) continue;
    int sat = 0;
    if (!p.free_int_at(2, 4, sat)) return p.unreadable("eclipsing satellite number, columns 2-4");
    out.eclSat[j] = sat;
  }
  return Flow::Next;
}

Flow read_eclipses(Protocol& p, int count, Outputs& out) {
  out.nEcl = limited(count, kMaxEcl, "eclipsing satellites", p);
  for (int i = 0; i < 4; ++i) {
    if (!p.next()) return Flow::Ended;
  }
  for (int j = 0; j < out.nEcl; ++j) {
    const Flow f = read_eclipse_block(p, j, out);
    if (f != Flow::Next) return f;
  }
  return Flow::Done;
}

// Satellite tables and the eclipse heading, one line per pass; the heading
// is tested on the last line read, also right after a table.
Flow scan_tables(Protocol& p, Outputs& out) {
  for (int pass = 0; pass < kSearchLimit; ++pass) {
    if (!p.next()) return Flow::Ended;
    const Layout* layout = table_layout(p);
    if (layout && !read_sat_table(p, *layout, out)) return Flow::Ended;
    if (!p.heading(kEclipseHead, 2)) continue;
    out.table.eclipses = true;
    int count = 0;
    if (!p.free_int_at(34, 35, count)) return p.unreadable("eclipsing count, columns 34-35");
    return read_eclipses(p, count, out);
  }
  return Flow::Done;
}

Flow read_phases(Protocol& p, int arcNum, Outputs& out) {
  Flow f = find_iterations(p);
  if (f == Flow::Next) f = read_arc_table(p, arcNum, out);
  if (f == Flow::Next) f = find_sat_count(p, out);
  if (f == Flow::Next) f = find_rms_heading(p, arcNum);
  if (f == Flow::Next) f = scan_tables(p, out);
  return f;
}

}  // namespace

void EXTDEF(std::string_view fileName, int arcNum, std::array<double, 2>& window, int& nSat,
            std::array<int, kMaxSat>& satNum, std::array<double, kMaxSat>& rms, int& nEcl,
            std::array<int, kMaxEcl>& eclSat, std::array<int, kMaxEcl>& longShadow, int& nArc,
            int& irc, TableCount* table) {
  const int lfn = framework::m_tolk.lfnWork;
  int iostat = 0;
  framework::OPNFIL(lfn, fileName, "OLD", "FORMATTED", "READONLY", " ", iostat);
  framework::OPNERR(framework::m_tolk.lfnMsg, lfn, iostat, fileName, "EXTDEF");

  Outputs out{window, nSat, satNum, rms, nEcl, eclSat, longShadow, nArc, TableCount{}};
  Protocol protocol(lfn, fileName);
  if (read_phases(protocol, arcNum, out) == Flow::Ended) irc = 1;
  platform::close_unit(lfn);
  if (table) *table = out.table;
}

}  // namespace orbit_check
