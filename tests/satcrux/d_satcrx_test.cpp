#include "satcrux/d_satcrx.h"

#include <filesystem>
#include <functional>
#include <sstream>

#include "platform/units.h"
#include "satcrux_fixture.h"

namespace {

using satcrux::d_satcrx;
using satcrux_test::header;
using satcrux_test::may1;
using satcrux_test::rec;
using satcrux_test::starts_with;
using testsupport::run_captured;
using Window = std::array<double, 2>;

const std::string B16(16, ' ');

// Time string of 2013-05-01 at hour h (0-23).
std::string at(int h, int s = 0) {
  return "2013-05-01 " + platform::fmt_i(h, 2, 2) + ":00:" + platform::fmt_i(s, 2, 2);
}

struct Epochs {
  int n = -1;
  std::vector<int> sat{99};
  std::vector<double> epoch{9.0};
};

struct Windows {
  int n = -1;
  std::vector<int> sat{99}, kind1{9}, kind2{9};
  std::vector<Window> window{{9.0, 9.0}};
};

Epochs splits(int max = 2000) {
  Epochs e;
  e.n = satcrux::GTSATS(max, e.sat, e.epoch);
  return e;
}
Epochs manoeuvres(int max = 2000) {
  Epochs e;
  e.n = satcrux::GTSATM(max, e.sat, e.epoch);
  return e;
}
Epochs pulses(int max = 2000) {
  Epochs e;
  e.n = satcrux::GTSATP(max, e.sat, e.epoch);
  return e;
}
Windows bad(const std::string& file, int max = 2000) {
  Windows w;
  w.n = satcrux::GTSATB(max, file, w.sat, w.kind1, w.kind2, w.window);
  return w;
}
Windows deletions(const std::string& file, int max = 2000) {
  Windows w;
  w.n = satcrux::GTSATD(max, file, w.sat, w.window);
  return w;
}

// Entries of every query together (the window queries on file), counts and
// outputs alike.
std::size_t all_queries(const std::string& file) {
  Epochs m2;
  m2.n = satcrux::GTSATM2(10, m2.sat, m2.epoch);
  const Epochs e[] = {splits(), manoeuvres(), pulses(), m2};
  const Windows w[] = {bad(file), deletions(file)};
  std::size_t n = 0;
  for (const auto& x : e) n += static_cast<std::size_t>(x.n) + x.sat.size() + x.epoch.size();
  for (const auto& x : w) n += static_cast<std::size_t>(x.n) + x.sat.size() + x.window.size();
  return n;
}

class SatcrxTest : public satcrux_test::SatCruxTest {};

TEST_F(SatcrxTest, EachQueryReturnsItsKinds) {
  const std::string file =
      setup(header() + rec(1, 0, 0, at(1)) + rec(2, 0, 7, at(2), at(3)) + rec(3, 4, 0, at(3)) +
            rec(4, 4, 2, at(4), at(5)) + rec(5, 4, 4, at(6)) + rec(6, 4, 5, at(7), at(8)) +
            rec(7, 3, 2, at(9), at(10)) + rec(8, 1, 0, "", at(11)) + rec(9, 4, 1, at(12)) +
            rec(-10, 4, 0, at(13)));
  const Epochs m = manoeuvres();
  EXPECT_EQ(m.n, 2);
  EXPECT_EQ(m.sat, (std::vector<int>{1, 2}));
  ASSERT_EQ(m.epoch.size(), 2u);
  EXPECT_NEAR(m.epoch[1], may1(2), 1e-8);
  const Epochs s = splits();
  EXPECT_EQ(s.n, 3);
  EXPECT_EQ(s.sat, (std::vector<int>{3, 4, -10})) << "(4,0) and (4,2); numbers as written";
  ASSERT_EQ(s.epoch.size(), 3u);
  EXPECT_NEAR(s.epoch[1], may1(4), 1e-8);
  const Epochs p = pulses();
  EXPECT_EQ(p.sat, std::vector<int>{5});
  const Windows d = deletions(file);
  EXPECT_EQ(d.sat, std::vector<int>{6});
  ASSERT_EQ(d.window.size(), 1u);
  EXPECT_NEAR(d.window[0][1], may1(8), 1e-8);
  const Windows b = bad(file);
  EXPECT_EQ(b.n, 3);
  EXPECT_EQ(b.sat, (std::vector<int>{4, 7, 8})) << "(4,2) and any first code but 0 and 4";
  EXPECT_EQ(b.kind1, (std::vector<int>{4, 3, 1}));
  EXPECT_EQ(b.kind2, (std::vector<int>{2, 2, 0}));
  ASSERT_EQ(b.window.size(), 3u);
  EXPECT_EQ(b.window[2][0], 0.0);
  EXPECT_NEAR(b.window[2][1], may1(11), 1e-8);
  Epochs m2;
  EXPECT_EQ(satcrux::GTSATM2(10, m2.sat, m2.epoch), 0) << "crxOrig is empty";
  EXPECT_TRUE(m2.sat.empty());
  EXPECT_FALSE(platform::unit_connected(999));
}

TEST_F(SatcrxTest, NoRecordsGiveNoEntries) {
  const std::string file = setup(header());
  auto r = run_captured(tmp, [&] { EXPECT_EQ(all_queries(file), 0u); });
  EXPECT_FALSE(r.exited);
  EXPECT_EQ(r.console, "");
  EXPECT_TRUE(d_satcrx.satCrux.crxLst.empty());

  testsupport::reset_all_state();
  load("SATCRUX 1 \"\"\n");
  r = run_captured(tmp, [&] { EXPECT_EQ(splits().n + manoeuvres().n + pulses().n, 0); });
  EXPECT_EQ(r.console, "") << "a blank file name";

  testsupport::reset_all_state();
  load("TITLE 1 run\n");
  r = run_captured(tmp, [&] { EXPECT_EQ(splits().n + manoeuvres().n + pulses().n, 0); });
  EXPECT_EQ(r.console, "") << "no SATCRUX keyword";
  EXPECT_FALSE(d_satcrx.firstCall);
}

TEST_F(SatcrxTest, ReadingEndsAtBlankLineUnreadableLineOrSatelliteZero) {
  setup(header());
  const std::string good = rec(1, 4, 0, at(1));
  const struct {
    std::string records;
    std::vector<int> sats;
  } cases[] = {
      {good + "\n" + rec(2, 4, 0, at(2)), {1}},
      {good + std::string(40, ' ') + "\n" + rec(2, 4, 0, at(2)), {1}},
      {good + rec(0, 4, 0, at(2)) + rec(3, 4, 0, at(3)), {1}},
      {good + "    x         4         0\n" + rec(3, 4, 0, at(3)), {1}},
      {good + "    2\t        4         0\n" + rec(3, 4, 0, at(3)), {1}},
      {good + "  1 2         4         0\n", {1, 12}},
      {good + "   +2         4         0       " + at(2) + "  " + at(3) + "  remark", {1, 2}},
      {"\n" + good, {}},
  };
  for (const auto& c : cases) {
    testsupport::spit(tmp.file("case"), header() + c.records);
    satcrux::READ_CRUX(d_satcrx.satCrux, tmp.file("case"));
    EXPECT_EQ(splits().sat, c.sats) << c.records;
    EXPECT_EQ(d_satcrx.satCrux.filNam, tmp.file("case"));
  }
}

TEST_F(SatcrxTest, ALineTheReaderStopsAtBeforeTheEndOfTheRecordsIsNamed) {
  setup(header());
  const std::string good = rec(1, 4, 0, at(1));
  const std::string more = rec(3, 4, 0, at(3)) + "\nLEGEND\n";
  const struct {
    std::string records;
    int line;  // 0: no stop before the end of the records
    std::string why;
  } cases[] = {
      {good + "! checked by hand\n" + more, 8, "columns 1-5 (satellite number) hold no integer"},
      {good + good + rec(0, 4, 0, at(2)) + more, 9, "its satellite number is 0"},
      {good + "     4                  0\n" + more, 8, "columns 1-5 (satellite number) are blank"},
      {good + "    2    x4         0\n" + more, 8,
       "columns 6-15 (first kind code) hold no integer"},
      {good + "    2         4       0.0\n" + more, 8,
       "columns 16-25 (second kind code) hold no integer"},
      // The end of the records: blank columns 1-6, with or without text after them.
      {good + "      end of the records\n" + more, 0, ""},
      {good + "\n! remark\n" + more, 0, ""},
      // Records without an end (no line with blank columns 1-6): no place to name.
      {good + "LEGEND\n" + rec(3, 4, 0, at(3)), 0, ""},
  };
  for (const auto& c : cases) {
    testsupport::spit(tmp.file("case"), header() + c.records);
    satcrux::READ_CRUX(d_satcrx.satCrux, tmp.file("case"));
    EXPECT_EQ(d_satcrx.satCrux.stop.line, c.line) << c.records;
    EXPECT_EQ(d_satcrx.satCrux.stop.why, c.why) << c.records;
    // The rewrite finds the same line in the file's lines.
    std::vector<std::string> lines;
    std::istringstream in(header() + c.records);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    EXPECT_EQ(satcrux::read_stop(lines).line, c.line) << c.records;
  }
}

TEST_F(SatcrxTest, BlankEpochsAreOpenEnds) {
  const std::string file =
      setup(header() + rec(1, 3, 2) + rec(2, 3, 2, at(10)) + rec(3, 3, 2, "", at(10)) +
            rec(4, 3, 2, "2013 05 01") + rec(5, 3, 2, at(10), at(10)));
  Windows b;
  const auto r = run_captured(tmp, [&] { b = bad(file); });
  ASSERT_EQ(b.n, 5);
  EXPECT_EQ(b.window[0], (Window{0.0, 1.0E20}));
  EXPECT_NEAR(b.window[1][0], may1(10), 1e-8);
  EXPECT_EQ(b.window[1][1], 1.0E20);
  EXPECT_EQ(b.window[2][0], 0.0);
  EXPECT_NEAR(b.window[2][1], may1(10), 1e-8);
  EXPECT_NEAR(b.window[3][0], may1(0), 1e-8) << "a date alone is 0 h";
  EXPECT_EQ(b.window[4][0], b.window[4][1]) << "kept as read";
  EXPECT_NE(r.console.find(" ### SR ST2TIM: Illegal time interval:"), std::string::npos)
      << r.console;
  EXPECT_EQ(r.console.find("Illegal", r.console.find("Illegal") + 1), std::string::npos)
      << "one warning, for record 5 only";
}

TEST_F(SatcrxTest, TooManyArcSplitsEndInDimtst) {
  setup(header() + rec(1, 4, 0, at(1)) + rec(2, 4, 2, at(2)) + rec(3, 4, 0, at(3)));
  EXPECT_EQ(splits(3).n, 3) << "a maximum equal to the count is enough";
  Epochs e;
  const auto r = run_captured(tmp, [&] { e.n = satcrux::GTSATS(2, e.sat, e.epoch); });
  EXPECT_TRUE(r.exited);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(e.sat, (std::vector<int>{1, 2})) << "nothing stored past the maximum";
  const std::string expected =
      "\n"
      " *** SR DIMTST: MAXIMUM DIMENSION \"maxspl\" EXCEEDED IN SR d_satcrx:gtsats\n" +
      B16 + "TOO MANY number of arc split events\n" + B16 +
      "ACTUAL NUMBER OF number of arc split events :      3\n" + B16 +
      "MAXIMUM NUMBER ALLOWED                      :      2\n" + B16 +
      "INCREASE MAXIMUM DIMENSION \"maxspl\" OR\n" + B16 +
      "REDUCE NUMBER OF number of arc split events\n" + B16 +
      "Increase \"maxman\" in module \"M_MAXDIM\".\n\n";
  EXPECT_TRUE(starts_with(r.console, expected)) << r.console;
}

// Each query's DIMTST texts, shown by a maximum of 0.
TEST_F(SatcrxTest, EachQueryNamesItsLimit) {
  const std::string file = setup(header() + rec(1, 0, 0, at(1)) + rec(2, 4, 4, at(2)) +
                                 rec(3, 4, 5, at(3)) + rec(4, 3, 2, at(4)) + rec(5, 4, 0, at(5)));
  const struct {
    std::function<void()> query;
    std::string caller, dim, what, advice;
  } cases[] = {
      {[&] { bad(file, 0); }, "gtsatb", "maxbad", "bad observation intervals", "maxbad"},
      {[&] { manoeuvres(0); }, "gtsatm", "maxman", "number of manoeuvres", "maxman"},
      {[&] { splits(0); }, "gtsats", "maxspl", "number of arc split events", "maxman"},
      {[&] { pulses(0); }, "gtsatp", "maxpls", "number of pulses events", "maxman"},
      {[&] { deletions(file, 0); }, "gtsatd", "maxDel", "pulse deletion intervals", "maxbad"},
  };
  for (const auto& c : cases) {
    const auto r = run_captured(tmp, c.query);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(starts_with(r.console, "\n *** SR DIMTST: MAXIMUM DIMENSION \"" + c.dim +
                                           "\" EXCEEDED IN SR d_satcrx:" + c.caller + "\n" + B16 +
                                           "TOO MANY " + c.what + "\n" + B16 + "ACTUAL NUMBER OF " +
                                           c.what + " :      1\n"))
        << r.console;
    EXPECT_NE(
        r.console.find("\n" + B16 + "Increase \"" + c.advice + "\" in module \"M_MAXDIM\".\n\n"),
        std::string::npos)
        << r.console;
  }
}

TEST_F(SatcrxTest, DuplicateManoeuvresEndTheRun) {
  const std::string duplicate = "\n *** SR d_satcrx:gtsatm: Duplicated entries for maneuver\n" +
                                B16 + "Satellite number:   12\n" + B16 +
                                "Maneuver epoch:    2013-05-01 10:00:00\n\n";
  setup(header() + rec(12, 0, 0, at(10)) + rec(12, 0, 0, at(10), at(11)));
  auto r = run_captured(tmp, [&] { manoeuvres(); });
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(starts_with(r.console, duplicate)) << r.console;
  r = run_captured(tmp, [&] { manoeuvres(1); });
  EXPECT_TRUE(starts_with(r.console, duplicate)) << "tested before the count: " << r.console;

  testsupport::spit(tmp.file("apart"), header() + rec(12, 0, 0, at(10)) + rec(5, 0, 0, at(10)) +
                                           rec(12, 0, 0, at(10, 1)));
  satcrux::READ_CRUX(d_satcrx.satCrux, tmp.file("apart"));
  const Epochs m = manoeuvres();
  EXPECT_EQ(m.sat, (std::vector<int>{12, 5, 12})) << "1 s apart, or another satellite";
  ASSERT_EQ(m.epoch.size(), 3u);
  EXPECT_NEAR(m.epoch[2] - m.epoch[0], 1.0 / 86400, 1e-9);

  // Epochs of a list built in memory: closer than half a second is one.
  auto& list = d_satcrx.satCrux;
  list.crxLst = {{12, {0, 0}, {may1(10), 1.0E20}}, {12, {0, 0}, {may1(10, 0, 0.6), 1.0E20}}};
  list.nCrx = 2;
  EXPECT_EQ(manoeuvres().n, 2);
  list.crxLst[1].window[0] = may1(10, 0, -0.4);
  r = run_captured(tmp, [&] { manoeuvres(); });
  EXPECT_TRUE(starts_with(r.console, duplicate)) << r.console;
}

TEST_F(SatcrxTest, WindowQueriesReadTheFileTheyName) {
  const std::string first = setup(header() + rec(7, 3, 2, at(1)) + rec(8, 4, 0, at(2)));
  const std::string other = tmp.file("other");
  testsupport::spit(other, header() + rec(9, 1, 0, at(3)) + rec(9, 4, 5, at(4)));
  EXPECT_EQ(bad(" ").n, 0) << "a blank name reads nothing";
  EXPECT_TRUE(d_satcrx.firstCall);
  EXPECT_EQ(bad(first).sat, std::vector<int>{7});
  EXPECT_EQ(deletions(other).sat, std::vector<int>{9});
  EXPECT_EQ(d_satcrx.satCrux.filNam, other);
  EXPECT_EQ(bad(other + "   ").sat, std::vector<int>{9}) << "the same name";
  EXPECT_EQ(splits().n, 0) << "the list now holds the other file";

  testsupport::reset_all_state();
  load("TITLE 1 run\n");
  EXPECT_EQ(bad(other).sat, std::vector<int>{9}) << "read without a SATCRUX keyword too";
}

TEST_F(SatcrxTest, AFileThatCannotBeOpenedEndsTheRun) {
  const std::string name = tmp.file("SATCRUX.CRX");
  load("SATCRUX 1 \"" + name + "\"\n");
  const auto r = run_captured(tmp, [&] { splits(); });
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(starts_with(r.console, "\n *** SR OPNERR: OPEN FAILED\n" + B16 + "FILE NAME : " +
                                         name + "\n" + B16 + "PGM./SUBR.: d_satcrx:r\n" + B16 +
                                         "IOSTAT    :      2\n" + B16 + "FILE UNIT :    999\n\n"))
      << r.console;
}

TEST_F(SatcrxTest, LargeAndOddFilesNeverCrash) {
  std::string body = header();
  for (int i = 0; i < 20000; ++i) {
    // One hour apart: 28-day months, so that every field keeps its two digits.
    const std::string epoch =
        platform::fmt_i(2000 + i / 8064, 4) + "-" + platform::fmt_i(1 + i / 672 % 12, 2, 2) + "-" +
        platform::fmt_i(1 + i / 24 % 28, 2, 2) + " " + platform::fmt_i(i % 24, 2, 2) + ":00:00";
    body += rec(1 + i % 32, i % 2 == 0 ? 0 : 4, 0, epoch);
  }
  const std::string last = rec(33, 4, 0, at(1));
  body += platform::pad(last.substr(0, last.size() - 1), 72) + std::string(3 << 20, 'z') + "\n";
  setup(body + "\n" + rec(34, 4, 0, at(1)));
  EXPECT_EQ(manoeuvres(10000).n, 10000);
  EXPECT_EQ(splits(20000).n, 10001) << "a 3 MB record line is read by its columns";
  EXPECT_EQ(d_satcrx.satCrux.nCrx, 20001);
  EXPECT_GE(d_satcrx.satCrux.crxLst.capacity(), 20011u);

  const std::string binary = std::string(3, '\0') + "\x01\x7f" + std::string(5000, '\xff');
  testsupport::spit(tmp.file("bin"), binary + "\n" + binary + "\n\n" + binary);
  satcrux::READ_CRUX(d_satcrx.satCrux, tmp.file("bin"));
  EXPECT_EQ(d_satcrx.satCrux.nCrx, 0);
  testsupport::spit(tmp.file("bin"), header() + binary + "\n" + rec(1, 4, 0, at(1)));
  satcrux::READ_CRUX(d_satcrx.satCrux, tmp.file("bin"));
  EXPECT_EQ(d_satcrx.satCrux.nCrx, 0);
}

// The sample file of the end-to-end runs.
TEST_F(SatcrxTest, SampleFileOfTheSuite) {
  const auto sample = std::filesystem::path(__FILE__).parent_path().parent_path() / "data" /
                      "satcrux" / "SATCRUX.CRX";
  const std::string file = setup(testsupport::slurp(sample.string()));
  int trailing = 0;
  EXPECT_EQ(satcrux::LINCOUNT(file, 6, &trailing), 16);
  EXPECT_EQ(trailing, 4);
  const Epochs s = splits();
  EXPECT_EQ(s.sat, (std::vector<int>{14, -21, 8, 117, 155}));
  ASSERT_EQ(s.epoch.size(), 5u);
  EXPECT_EQ(s.epoch[0], timeutil::DJUL(2013, 5, 2.0)) << "written by the arc-split step";
  EXPECT_EQ(s.epoch[3], timeutil::DJUL(2013, 5, 7.0));
  EXPECT_EQ(manoeuvres().sat, (std::vector<int>{12, 27, 105}));
  EXPECT_EQ(pulses().sat, (std::vector<int>{19, 108}));
  EXPECT_EQ(deletions(file).sat, std::vector<int>{19});
  EXPECT_EQ(bad(file).sat, (std::vector<int>{12, 5, 203, 30, 112, 8}));
}

TEST_F(SatcrxTest, ModsvnFoldsTheUpperHalfOfEachHundred) {
  const std::pair<int, int> table[] = {{5, 5},     {50, 50},   {51, 1},    {99, 49},   {100, 100},
                                       {105, 105}, {150, 150}, {151, 101}, {155, 105}, {899, 849},
                                       {900, 900}, {950, 950}, {999, 999}, {0, 0},     {-55, -55}};
  for (const auto& [in, out] : table) EXPECT_EQ(satcrux::MODSVN(in), out) << in;
}

}  // namespace
