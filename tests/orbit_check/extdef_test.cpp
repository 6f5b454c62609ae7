#include "orbit_check/extdef.h"

#include <string>
#include <vector>

#include "framework/m_tolk.h"
#include "platform/units.h"
#include "support/test_support.h"
#include "timeutil/djul.h"

namespace {

using orbit_check::kMaxSat;
using orbit_check::ProtocolExtract;
using testsupport::run_captured;
using Lines = std::vector<std::string>;

const std::string B16(16, ' ');

// line with text placed from column col on.
std::string put(std::string line, int col, const std::string& text) {
  if (line.size() < static_cast<std::size_t>(col - 1 + text.size()))
    line.resize(col - 1 + text.size(), ' ');
  line.replace(col - 1, text.size(), text);
  return line;
}
std::string i3(int v) {
  std::string s = std::to_string(v);
  return std::string(3 - s.size(), ' ') + s;
}

std::string iterations(int n) { return put(" NUMBER OF ITERATIONS", 53, i3(n)); }
std::string arc_row(int arc, const std::string& start, const std::string& end) {
  return put(put(" " + i3(arc), 7, start), 28, end);
}
std::string sat_count(const std::string& n) {
  return put(" TOTAL NUMBER OF SATELLITES   :", 33, n);
}
std::string rms_head(const std::string& arc, const std::string& iter) {
  return put(put(" RMS ERRORS AND MAX. RESIDUALS   ARC NUMBER:", 45, arc) + "    ITERATION:", 78,
             iter);
}
std::string row(char layout, int sat, const std::string& rms) {
  const int shift = layout == 'A' ? 0 : -1;
  return put(put(" " + i3(sat), 9 + shift, " 288"), 22 + shift - static_cast<int>(rms.size()), rms);
}
std::string ecl_head(const std::string& n) {
  return put(" NUMBER OF ECLIPSING SATELLITES:", 34, n);
}
std::string ecl_line(const std::string& sat, const std::string& dur) {
  return put(put(" " + sat, 8, "02:10:00"), 18, dur);
}

std::string may(int day) {
  return "2013-05-" + std::string(day < 10 ? "0" : "") + std::to_string(day) + " 00:00:00";
}

// Arc a from 2013-05-(4+2a) to 2013-05-(6+2a).
Lines arc_table(int nArcs) {
  Lines l{" ARC  START TIME           END TIME", " ---  -------------------  -------------------",
          ""};
  for (int a = 1; a <= nArcs; ++a) l.push_back(arc_row(a, may(4 + 2 * a), may(6 + 2 * a)));
  l.insert(l.end(), {"", " ..."});
  return l;
}

// The iteration heading and a one-arc table: where every protocol starts.
Lines with_start(Lines rest) {
  Lines l{iterations(1)};
  for (const auto& s : arc_table(1)) l.push_back(s);
  l.insert(l.end(), rest.begin(), rest.end());
  return l;
}

// A complete protocol: 3 iterations, one arc, 3 satellites, 2 eclipsing.
Lines protocol(char layout = 'A') {
  Lines l{" TRJFIT", iterations(3), ""};
  for (const auto& s : arc_table(1)) l.push_back(s);
  l.push_back(sat_count(" 3"));
  for (int it = 1; it <= 3; ++it) {
    l.insert(l.end(),
             {"", rms_head("  1", i3(it)), "",
              layout == 'A' ? " SAT    #POS   RMS(M)" : " SAT   #POS   RMS(M)", " ---",
              row(layout, 5, it == 3 ? "0.031" : "9.9"), row(layout, 12, it == 3 ? "1.23" : "9.9"),
              row(layout, 103, it == 3 ? "123" : "9.9"), "  residual noise  1.2  -0.4"});
  }
  l.insert(l.end(), {ecl_head(" 2"), "", " SAT  START     DUR", " ---", "",
                     ecl_line("  5", "12:30"), ecl_line("   ", "45:05"), ecl_line("   ", " 3:00"),
                     "", ecl_line("103", " 8:20"), "", " END OF PROTOCOL"});
  return l;
}

class ExtdefTest : public testsupport::ModuleTest {
 protected:
  // Writes the lines as a protocol and reads it into ext; returns the return code.
  int read(const Lines& lines, int arc = 1, int irc = 0) {
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    testsupport::spit(tmp.file("p.prt"), text);
    console = run_captured(tmp, [&] {
                orbit_check::EXTDEF(tmp.file("p.prt"), arc, ext.window, ext.nSat, ext.satNum,
                                    ext.rms, ext.nEcl, ext.eclSat, ext.longShadow, ext.nArc, irc,
                                    &table);
              }).console;
    EXPECT_FALSE(platform::unit_connected(framework::m_tolk.lfnWork)) << "protocol left open";
    return irc;
  }
  ProtocolExtract ext;
  orbit_check::TableCount table;
  std::string console;
};

TEST_F(ExtdefTest, CompleteProtocolOfEitherLayout) {
  for (char layout : {'A', 'B'}) {
    ext = ProtocolExtract{};
    EXPECT_EQ(read(protocol(layout), 1, 7), 7) << "return code left as it was";
    EXPECT_EQ(ext.window[0], timeutil::DJUL(2013, 5, 6.0));
    EXPECT_EQ(ext.window[1], timeutil::DJUL(2013, 5, 8.0));
    EXPECT_EQ(ext.nArc, 1);
    EXPECT_EQ(ext.nSat, 3);
    EXPECT_EQ(ext.satNum[0], 5);
    EXPECT_EQ(ext.satNum[2], 103);
    EXPECT_DOUBLE_EQ(ext.rms[0], 0.031);
    EXPECT_DOUBLE_EQ(ext.rms[1], 1.23) << "with its point";
    EXPECT_DOUBLE_EQ(ext.rms[2], 1.23) << "two implied decimals";
    EXPECT_EQ(ext.nEcl, 2);
    EXPECT_EQ(ext.eclSat[0], 5);
    EXPECT_EQ(ext.longShadow[0], 2705);
    EXPECT_EQ(ext.eclSat[1], 103);
    EXPECT_EQ(ext.longShadow[1], 500);
    EXPECT_EQ(table.rows, 3);
    EXPECT_EQ(table.count, 3);
    EXPECT_EQ(console, "");
  }
}

TEST_F(ExtdefTest, OnlyTheRequestedArcAtTheFinalIterationIsRead) {
  Lines l = protocol();
  // An arc-2 heading of the final iteration and an unreadable heading before the right one.
  l.insert(l.begin() + 29, {rms_head("  2", "  3"), rms_head(" x1", "  3"), " SAT    #POS", " ---",
                            row('A', 77, "7.77"), row('A', 78, "7.77"), row('A', 79, "7.77")});
  read(l);
  EXPECT_EQ(ext.satNum[0], 5);
  EXPECT_DOUBLE_EQ(ext.rms[2], 1.23);
}

TEST_F(ExtdefTest, ArcTableOfThreeArcsAndWherePhaseThreeStarts) {
  Lines l{iterations(1)};
  for (const auto& s : arc_table(3)) l.push_back(s);
  l.back() = sat_count(" 9");  // consumed with the blank line: not seen
  l.insert(l.end(), {sat_count(" 2"), rms_head("  2", "  1"), " SAT   #POS", "",
                     row('B', 8, "1.00"), row('B', 9, "2.00")});
  EXPECT_EQ(read(l, 2), 1) << "ends after the table";
  EXPECT_EQ(ext.nArc, 3);
  EXPECT_EQ(ext.window[0], timeutil::DJUL(2013, 5, 8.0)) << "the window of arc 2";
  EXPECT_EQ(ext.nSat, 2);
  EXPECT_EQ(ext.satNum[1], 9);
  EXPECT_EQ(ext.nEcl, 0) << "no eclipse heading: left as it was";
}

TEST_F(ExtdefTest, SatelliteTablesShortTablesAndRereads) {
  Lines l = with_start({sat_count(" 3"), rms_head("  1", "  1"),
                        // The eclipse heading ends a short table and is found on that row.
                        " SAT    #POS", "", row('A', 1, "1.00"), ecl_head(" 0"), "", "", "", ""});
  ext.satNum = {90, 91, 92};
  EXPECT_EQ(read(l), 0);
  EXPECT_EQ(ext.satNum[0], 1);
  EXPECT_EQ(ext.satNum[1], 91) << "entries behind the unreadable row keep their values";
  EXPECT_EQ(ext.nEcl, 0);

  l = with_start({sat_count(" 2"), rms_head("  1", "  1"), " SAT    #POS", "", row('A', 1, "1.00"),
                  row('A', 2, "2.00"), " SAT   #POS", "", row('B', 3, "3.00"), "bad row",
                  ecl_head(" 1")});
  EXPECT_EQ(read(l), 1) << "ends in the four lines after the eclipse heading";
  EXPECT_EQ(ext.satNum[0], 3) << "a later table is read from entry 1 again";
  EXPECT_EQ(ext.satNum[1], 2);
  EXPECT_EQ(ext.nEcl, 1);
  EXPECT_EQ(table.rows, 1) << "rows of the last table";
  EXPECT_EQ(table.count, 2);
}

TEST_F(ExtdefTest, EclipseBlocks) {
  Lines head =
      with_start({sat_count(" 0"), rms_head("  1", "  1"), ecl_head(" 2"), "", "", "", ""});
  Lines l = head;
  l.insert(l.end(),
           {ecl_line("   ", "     "), ecl_line(" 17", "10:00"), ecl_line("   ", "  :07"), ""});
  ext.eclSat = {44, 55};
  ext.longShadow = {99, 99};
  EXPECT_EQ(read(l), 0);
  EXPECT_EQ(ext.eclSat[0], 44) << "blank first line: number not set";
  EXPECT_EQ(ext.longShadow[0], 0);
  EXPECT_EQ(ext.eclSat[1], 17);
  EXPECT_EQ(ext.longShadow[1], 600);

  // A block ends after 1000 lines; the next starts with line 1001.
  l = head;
  l.insert(l.end(), 1000, ecl_line("  8", " 1:00"));
  l.insert(l.end(), {ecl_line("  9", " 2:00"), ""});
  EXPECT_EQ(read(l), 0);
  EXPECT_EQ(ext.eclSat[0], 8);
  EXPECT_EQ(ext.eclSat[1], 9);
  EXPECT_EQ(ext.longShadow[1], 120);
}

TEST_F(ExtdefTest, EndOfFileKeepsWhatWasReadAndLeavesTheRest) {
  const Lines full = protocol();
  struct Case {
    std::size_t keep;  // lines of the full protocol
    int nArc, nSat, sat1, sat3, nEcl, ecl1, rows, count;
  };
  // -1: the sentinel value the reader left alone.
  const Case cases[] = {
      {1, -1, -1, -1, -1, -1, -1, 0, 0},  // no iteration heading
      {5, -1, -1, -1, -1, -1, -1, 0, 0},  // in the lines under the arc heading
      {8, 1, -1, -1, -1, -1, -1, 0, 0},   // the line after the blank row is missing
      {33, 1, 3, -1, -1, -1, -1, 0, 3},   // right after the final table's heading
      {34, 1, 3, 5, -1, -1, -1, 1, 3},    // inside the final table: one row read
      {36, 1, 3, 5, 103, -1, -1, 3, 3},   // right after the final table
      {40, 1, 3, 5, 103, 2, -1, 3, 3},    // in the lines under the eclipse heading
      {44, 1, 3, 5, 103, 2, 5, 3, 3},     // in the first eclipse block
  };
  for (const Case& c : cases) {
    ext.nArc = ext.nSat = ext.nEcl = -1;
    ext.satNum.fill(-1);
    ext.eclSat.fill(-1);
    EXPECT_EQ(read(Lines(full.begin(), full.begin() + c.keep)), 1) << c.keep;
    EXPECT_EQ(ext.nArc, c.nArc) << c.keep;
    EXPECT_EQ(ext.nSat, c.nSat) << c.keep;
    EXPECT_EQ(ext.satNum[0], c.sat1) << c.keep;
    EXPECT_EQ(ext.satNum[2], c.sat3) << c.keep;
    EXPECT_EQ(ext.nEcl, c.nEcl) << c.keep;
    EXPECT_EQ(ext.eclSat[0], c.ecl1) << c.keep;
    EXPECT_EQ(table.rows, c.rows) << c.keep;
    EXPECT_EQ(table.count, c.count) << c.keep;
  }
}

TEST_F(ExtdefTest, SearchesGiveUpAfter100000LinesOrPasses) {
  // The iteration heading on line 100 000 is found, on line 100 001 it is not.
  for (int before : {99999, 100000}) {
    orbit_check::s_extdef.finalIter = 4;
    Lines l(before, " noise");
    l.push_back(iterations(6));
    read(l);
    EXPECT_EQ(orbit_check::s_extdef.finalIter, before == 99999 ? 6 : 4) << before;
  }
  // A table is one pass; the eclipse heading on pass 100 000 is found.
  for (int noise : {99998, 99999}) {
    Lines l = with_start(
        {sat_count(" 1"), rms_head("  1", "  1"), " SAT    #POS", "", row('A', 1, "1.00")});
    l.insert(l.end(), noise, " noise");
    l.insert(l.end(), {ecl_head(" 1"), "", "", "", "", ecl_line(" 31", " 1:00"), ""});
    ext.nEcl = -1;
    EXPECT_EQ(read(l), 0);
    EXPECT_EQ(ext.nEcl, noise == 99998 ? 1 : -1) << noise;
  }
}

TEST_F(ExtdefTest, FinalIterationOfAnEarlierProtocolIsKept) {
  read(protocol());
  Lines l(100000, " no iteration heading");
  for (const auto& s : arc_table(1)) l.push_back(s);
  l.insert(l.end(), {sat_count(" 1"), rms_head("  1", "  2"), " SAT    #POS", "",
                     row('A', 1, "9.00"), rms_head("  1", "  3"), " SAT    #POS", "",
                     row('A', 2, "2.00"), ecl_head(" 0"), "", "", "", ""});
  EXPECT_EQ(read(l), 0);
  EXPECT_EQ(ext.satNum[0], 2) << "matched against iteration 3 of the first protocol";
}

TEST_F(ExtdefTest, RmsHeadingsWithUnreadableNumbersDoNotMatch) {
  Lines l = with_start({sat_count("  1"), rms_head(" x1", "  1"), rms_head("  1", " 1x"),
                        " SAT    #POS", "", row('A', 9, "9.00"), rms_head("  1", "  1"),
                        " SAT    #POS", "", row('A', 4, "1.00"), ecl_head(" 1"), "", "", "", "",
                        ecl_line(" 31", " 1:00"), ""});
  EXPECT_EQ(read(l), 0);
  EXPECT_EQ(ext.satNum[0], 4);
  EXPECT_EQ(ext.eclSat[0], 31);
  EXPECT_EQ(console, "");
}

TEST_F(ExtdefTest, UnreadableFieldsEndTheReaderWithAWarning) {
  const Lines full = protocol();
  struct Case {
    std::size_t line;  // 1-based
    std::string text, field;
  };
  const Case cases[] = {
      {2, put(" NUMBER OF ITERATIONS", 53, " x3"), "final iteration number, columns 53-55"},
      {7, "  1?  2013-05-06 00:00:00", "arc number, columns 2-4"},
      {10, sat_count("   "), "satellite count, columns 33-35"},
      {38, ecl_head(" x"), "eclipsing count, columns 34-35"},
      {43, ecl_line("  5", "12:3x"), "shadow passage duration, columns 18-22"},
      {43, ecl_line("G05", "12:30"), "eclipsing satellite number, columns 2-4"},
  };
  for (const Case& c : cases) {
    Lines l = full;
    l[c.line - 1] = c.text;
    EXPECT_EQ(read(l), 1);
    EXPECT_EQ(console, "\n ### SR EXTDEF: Protocol field is not a number, reading stopped\n" + B16 +
                           "File name  : " + tmp.file("p.prt") + "\n" + B16 +
                           "Line number: " + std::to_string(c.line) + "\n" + B16 +
                           "Field      : " + c.field + "\n\n");
  }
}

TEST_F(ExtdefTest, CountsOf999And99SatellitesAreReadWhole) {
  Lines l = with_start({sat_count("999"), rms_head("  1", "  1"), " SAT    #POS", ""});
  for (int s = 1; s <= 999; ++s) l.push_back(row('A', s, "0.10"));
  l.insert(l.end(), {ecl_head("99"), "", "", "", ""});
  for (int s = 1; s <= 99; ++s) l.insert(l.end(), {ecl_line(i3(s), " 1:00"), ""});
  EXPECT_EQ(read(l), 0);
  EXPECT_EQ(ext.nSat, kMaxSat);
  EXPECT_EQ(ext.satNum[kMaxSat - 1], 999);
  EXPECT_EQ(table.rows, 999);
  EXPECT_EQ(ext.nEcl, orbit_check::kMaxEcl);
  EXPECT_EQ(ext.eclSat[orbit_check::kMaxEcl - 1], 99);
  EXPECT_EQ(console, "") << "no dimension warning";
}

TEST_F(ExtdefTest, MissingFileEndsTheRun) {
  int irc = 0;
  const auto r = run_captured(tmp, [&] {
    orbit_check::EXTDEF(tmp.file("none.prt"), 1, ext.window, ext.nSat, ext.satNum, ext.rms,
                        ext.nEcl, ext.eclSat, ext.longShadow, ext.nArc, irc);
  });
  EXPECT_TRUE(r.exited);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.console.find(" *** SR OPNERR: OPEN FAILED\n" + B16 + "FILE NAME : " +
                           tmp.file("none.prt") + "\n" + B16 + "PGM./SUBR.:     EXTDEF\n"),
            std::string::npos)
      << r.console;
}

}  // namespace
