#include "orbit_check/asplit.h"

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "framework/d_pgmid.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "input/load_input.h"
#include "orbit_check/edit_rule.h"
#include "orbit_check/split_report.h"
#include "platform/fixed_text.h"
#include "platform/replace_file.h"
#include "platform/units.h"
#include "support/test_support.h"
#include "timeutil/djul.h"

namespace {

using orbit_check::ProtocolExtract;
using orbit_check::SplitList;
using orbit_check::ThresholdTable;
using testsupport::slurp;
using testsupport::spit;

const double kEpoch = timeutil::DJUL(2013, 5, 7.0);

ProtocolExtract extract(std::vector<int> sats, std::vector<double> rms) {
  ProtocolExtract e;
  e.nSat = static_cast<int>(sats.size());
  for (std::size_t i = 0; i < sats.size(); ++i) {
    e.satNum[i] = sats[i];
    e.rms[i] = rms[i];
  }
  return e;
}

ThresholdTable gps(double factor, double limit) {
  ThresholdTable t;
  t.factor[0] = factor;
  t.limit[0] = limit;
  return t;
}

class AsplitTest : public testsupport::ModuleTest {
 protected:
  SplitList edit(const ProtocolExtract& e, const ThresholdTable& t) {
    SplitList s;
    orbit_check::edit_candidates(e, t, level, s);
    return s;
  }
  std::array<double, orbit_check::kMaxSys> level{};
};

TEST_F(AsplitTest, EditingPassesAgainstTheSystemMean) {
  const auto e = extract({1, 2, 3, 4, 5}, {0.02, 0.02, 0.02, 0.02, 0.10});
  SplitList s = edit(e, gps(2.0, 0.0));
  EXPECT_EQ(s.count, 1);
  EXPECT_EQ(s.satNum, std::vector<int>{5});
  EXPECT_NEAR(level[0], 0.04, 1e-15) << "the level of the last pass, without the candidate";
  EXPECT_NEAR(level[0] / 2.0, 0.02, 1e-15);

  s = edit(e, gps(2.0, 0.15));
  EXPECT_EQ(s.count, 0) << "below the lower limit";

  // 0.05 equals the first level (2 x 0.025) exactly: a candidate.
  s = edit(extract({1, 2, 3}, {0.05, 0.0125, 0.0125}), gps(2.0, 0.0));
  EXPECT_EQ(s.satNum, std::vector<int>{1});
}

TEST_F(AsplitTest, SumsSkipSatellitesWithoutASystemAndCountZeroAs1Cm) {
  // A zero RMS adds 0.01 m: mean (0.01 + 0.05) / 2 = 0.03, level 0.045.
  SplitList s = edit(extract({1, 2, 600, -3}, {0.0, 0.05, 9.0, 9.0}), gps(1.5, 0.0));
  EXPECT_EQ(s.satNum, std::vector<int>{2});
  // GLONASS off: its satellites are never edited.
  s = edit(extract({101, 102}, {0.01, 5.0}), gps(1.5, 0.0));
  EXPECT_EQ(s.count, 0);
  EXPECT_EQ(level[1], 0.0);
}

TEST_F(AsplitTest, FactorOfOneOrLessKeepsTheListOfThePassThatSetTheCount) {
  // Factor 1: pass 1 takes both satellites; pass 2 has no satellite left in
  // the system, level 0 and no candidate: the list of pass 1 is kept with the
  // levels of pass 2.
  SplitList s = edit(extract({1, 2}, {0.02, 0.02}), gps(1.0, 0.0));
  EXPECT_EQ(s.count, 2);
  EXPECT_EQ(s.satNum, (std::vector<int>{1, 2}));
  EXPECT_EQ(level[0], 0.0);
}

TEST_F(AsplitTest, NumbersGoThroughModsvn) {
  SplitList s = edit(extract({55, 5, 1, 2}, {0.5, 0.01, 0.01, 0.01}), gps(2.0, 0.0));
  EXPECT_EQ(s.satNum, std::vector<int>{5});
}

// One GPS system of satellites 1..n, factor 3, against both rules.
TEST_F(AsplitTest, MeanAndMedianRulesAgainstSystemsOfEverySize) {
  using orbit_check::EditRule;
  // n values of base, with the satellites of high at value.
  const auto rms = [](int n, double base, std::vector<int> high = {}, double value = 0.0) {
    std::vector<double> v(static_cast<std::size_t>(n), base);
    for (int sat : high) v[static_cast<std::size_t>(sat - 1)] = value;
    return v;
  };
  std::vector<int> third;  // 11 of 32: 1, 4, ..., 31
  for (int sat = 1; sat <= 31; sat += 3) third.push_back(sat);
  std::vector<double> mixed;  // 45 clean values from 0.020 to 0.042
  for (int i = 0; i < 45; ++i) mixed.push_back(0.020 + 0.0005 * i);
  struct Case {
    const char* what;
    std::vector<double> rms;
    double limit;
    std::vector<int> mean, median;  // candidates of each rule
    bool meanEditable, medianEditable;
    double medianLevel;             // 0: not edited
  };
  const Case cases[] = {
      {"1 satellite", {0.5}, 0.0, {}, {}, false, false, 0.0},
      {"2 satellites", {0.02, 0.5}, 0.0, {}, {}, false, false, 0.0},
      {"3, one outlier", {0.4, 0.4, 4.0}, 0.0, {}, {3}, false, true, 1.2},
      {"4, one outlier 8 times", rms(4, 0.125, {4}, 1.0), 0.0, {}, {4}, true, true, 0.375},
      {"4, limit above the level", rms(4, 0.125, {4}, 1.0), 1.5, {}, {}, true, true, 0.375},
      {"4, limit below the level", rms(4, 0.125, {4}, 1.0), 0.5, {}, {4}, true, true, 0.375},
      {"4, even count: mean of the middle two", {0.02, 0.04, 0.06, 0.5}, 0.0, {4}, {4}, true, true,
       0.15},
      {"4, RMS 0 taken as 0.01", {0.0, 0.0, 0.0, 0.05}, 0.0, {}, {4}, true, true, 0.03},
      {"32, a third outliers", rms(32, 0.025, third, 0.5), 0.0, {}, third, true, true, 0.075},
      {"32, none", rms(32, 0.025), 0.0, {}, {}, true, true, 0.075},
      {"45, one outlier", rms(45, 0.03, {45}, 0.3), 0.0, {45}, {45}, true, true, 0.09},
      {"45, one outlier, limit below", rms(45, 0.03, {45}, 0.3), 0.2, {45}, {45}, true, true, 0.09},
      {"45, one outlier, limit above", rms(45, 0.03, {45}, 0.3), 0.4, {}, {}, true, true, 0.09},
      {"45, none", mixed, 0.0, {}, {}, true, true, 3 * 0.031},
  };
  for (const Case& c : cases) {
    std::vector<int> sats;
    for (std::size_t i = 0; i < c.rms.size(); ++i) sats.push_back(static_cast<int>(i) + 1);
    ThresholdTable t = gps(3.0, c.limit);
    EXPECT_EQ(edit(extract(sats, c.rms), t).satNum, c.mean) << c.what << ": mean";
    EXPECT_EQ(orbit_check::system_editing(extract(sats, c.rms), t)[0].editable, c.meanEditable)
        << c.what;
    t.rule = EditRule::Median;
    EXPECT_EQ(edit(extract(sats, c.rms), t).satNum, c.median) << c.what << ": median";
    EXPECT_NEAR(level[0], c.medianLevel, 1e-12) << c.what;
    const auto systems = orbit_check::system_editing(extract(sats, c.rms), t);
    EXPECT_EQ(systems[0].editable, c.medianEditable) << c.what;
    EXPECT_EQ(systems[0].count, static_cast<int>(c.rms.size())) << c.what;
  }
  // A single satellite with factor 1 always reaches the level (its own RMS).
  EXPECT_EQ(edit(extract({7}, {0.3}), gps(1.0, 0.0)).satNum, std::vector<int>{7});
  EXPECT_FALSE(orbit_check::mean_rule_blind(1, 1.0));
  EXPECT_TRUE(orbit_check::mean_rule_blind(2, 2.0));
  EXPECT_FALSE(orbit_check::mean_rule_blind(3, 2.5));
}

TEST_F(AsplitTest, SplitRecordLayout) {
  EXPECT_EQ(orbit_check::split_record(5, kEpoch),
            "    5         4         0       2013 05 07 00 00 00 ");
  EXPECT_EQ(orbit_check::split_record(123, kEpoch).size(), 52u);
}

class AsplitFileTest : public AsplitTest {
 protected:
  std::string crx() const { return tmp.file("SAT.CRX"); }
  void write_crx(const std::string& records) {
    spit(crx(), "HEADER 1\nHEADER 2\n\nHEADER 4\nHEADER 5\nHEADER 6\n" + records);
  }
  void load(bool withCrx = true) {
    testsupport::load_input(tmp, withCrx ? "SATCRUX 1 \"" + crx() + "\"\n" : "X 1 y\n");
  }
  testsupport::RunResult split(const ProtocolExtract& e, const ThresholdTable& t, SplitList& s) {
    return testsupport::run_captured(tmp, [&] { orbit_check::ASPLIT(kEpoch, e, t, level, s); });
  }
};

TEST_F(AsplitFileTest, RecordsAreInsertedBeforeTheFirstBlankRecordLine) {
  // A record longer than 80 columns, with a remark the reader does not read.
  const std::string record = "   13         4         0       2013-05-03 00:00:00";
  const std::string longLine = platform::pad(record, 80) + std::string(20, 'x');
  write_crx("   12         4         0       2013-05-02 00:00:00\n" + longLine +
            "\n\nLEGEND\n");
  load();
  SplitList s;
  const auto r = split(extract({1, 2, 3, 4, 5}, {0.02, 0.02, 0.02, 0.02, 0.10}), gps(2.0, 0.0), s);
  ASSERT_FALSE(r.exited) << r.console;
  const auto p = [](const std::string& t) { return t + std::string(80 - t.size(), ' ') + "\n"; };
  EXPECT_EQ(slurp(crx()), p("HEADER 1") + p("HEADER 2") + p("") + p("HEADER 4") + p("HEADER 5") +
                              p("HEADER 6") +
                              p("   12         4         0       2013-05-02 00:00:00") +
                              longLine + "\n" +
                              "    5         4         0       2013 05 07 00 00 00 \n" + p("") +
                              p("LEGEND"));
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& f : std::filesystem::directory_iterator(tmp.path())) ++files;
  EXPECT_EQ(files, 2u) << "no temporary file is left";
}

// A file the update leaves alone: the run ends with the message, the file
// byte for byte as it was.
TEST_F(AsplitFileTest, AFileThatCannotTakeTheRecordsIsLeftAsItWas) {
  const std::string b16(16, ' ');
  struct Case {
    const char* what;
    std::string records;
    bool secondName;
    std::string message;
  } const cases[] = {
      {"no place", "   12         4         0       2013-05-02 00:00:00\nLEGEND\n", false,
       " *** SR ASPLIT: No place for arc-split records in the satellite problem file\n" + b16 +
           "File name: " + crx() + "\n" + b16 +
           "No line from line 7 on begins with 6 blanks: no record was written.\n"},
      {"hard links", "\n", true,
       " *** SR ASPLIT: Satellite problem file has more than one name (hard links)\n" + b16 +
           "File name : " + crx() + "\n" + b16 + "Links     : 2\n" + b16 +
           "A file of several names is not updated: give it one name (a symbolic link\n" + b16 +
           "may lead to it). The file was not changed.\n"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(tmp.file("SECOND.CRX"));
    write_crx(c.records);
    if (c.secondName) std::filesystem::create_hard_link(crx(), tmp.file("SECOND.CRX"));
    const std::string before = slurp(crx());
    load();
    SplitList s;
    const auto r = split(extract({1, 2, 3, 4, 5}, {0.02, 0.02, 0.02, 0.02, 0.10}), gps(2.0, 0.0), s);
    EXPECT_TRUE(r.exited && r.status == 1) << c.what;
    EXPECT_NE(r.console.find("\n" + c.message + "\n"), std::string::npos) << c.what << r.console;
    EXPECT_EQ(slurp(crx()), before) << c.what;
  }
}

TEST_F(AsplitFileTest, CandidatesSplitAtTheSameEpochAreDropped) {
  write_crx("   -5         4         0       2013-05-07 00:00:00\n"
            "    6         4         2       2013-05-06 00:00:00  2013-05-07 00:00:00\n\n");
  load();
  chmod(crx().c_str(), 0640);
  SplitList s;
  const auto e = extract({1, 2, 3, 4, 5, 6}, {0.02, 0.02, 0.02, 0.02, 0.10, 0.11});
  split(e, gps(1.5, 0.0), s);
  EXPECT_EQ(s.satNum, std::vector<int>{6}) << "5 is split at that epoch, 6 only at another";
  EXPECT_NE(slurp(crx()).find("    6         4         0       2013 05 07"), std::string::npos);
  struct stat st {};
  stat(crx().c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u) << "the rewrite keeps the permission bits";
}

TEST_F(AsplitFileTest, RerunsPutOneRecordBeforeALineTheReaderStopsAt) {
  const std::string known = "   12         4         0       2013-05-02 00:00:00\n";
  const struct {
    std::string line;
    std::string why;
  } cases[] = {
      {"! checked by hand", "columns 1-5 (satellite number) hold no integer"},
      {"    0         4         0       2013-05-03 00:00:00", "its satellite number is 0"},
  };
  const auto e = extract({1, 2, 3, 4, 5}, {0.02, 0.02, 0.02, 0.02, 0.10});
  const std::string b16(16, ' ');
  for (const auto& c : cases) {
    write_crx(known + c.line + "\n" + known + "\nLEGEND\n");
    load();
    for (int run = 0; run < 3; ++run) {
      SplitList s;
      const auto r = split(e, gps(2.0, 0.0), s);
      ASSERT_FALSE(r.exited) << r.console;
      EXPECT_EQ(s.count, run == 0 ? 1 : 0) << "the record of the first run is seen";
      // The line moves down by the record of the first run.
      const std::string at = run == 0 ? "8" : "9";
      EXPECT_EQ(r.console,
                "\n ### SR ASPLIT: Reading of the satellite problem file stops at line " + at +
                    "\n" + b16 + "File name : " + crx() + "\n" + b16 + "Line " + at +
                    " is no record: " + c.why + ".\n" + b16 +
                    "The records after it are not read; arc-split records are put before it.\n\n");
    }
    const std::string text = slurp(crx());
    const std::size_t record = text.find("    5         4         0       2013 05 07 00 00 00 \n");
    EXPECT_LT(record, text.find(c.line)) << text;
    EXPECT_EQ(text.find("    5         4", record + 1), std::string::npos) << text;
  }
}

TEST_F(AsplitFileTest, AFileHeldByAnotherRunIsWaitedForThenLeftUnchanged) {
  write_crx("\n");
  const std::string before = slurp(crx());
  load();
  platform::FileLock other;
  ASSERT_EQ(platform::lock_file(crx(), other, 0.0), 0);
  orbit_check::s_asplit = {0.05, 0.1};
  SplitList s;
  const auto r = split(extract({1, 2, 3, 4, 5}, {0.02, 0.02, 0.02, 0.02, 0.10}), gps(2.0, 0.0), s);
  orbit_check::s_asplit = {};
  EXPECT_TRUE(r.exited);
  EXPECT_EQ(r.status, 1);
  const std::string b16(16, ' ');
  EXPECT_NE(r.console.find("\n ### SR ASPLIT: Satellite problem file in use by another run, waiting\n" +
                           b16 + "File name : " + crx() + "\n\n"),
            std::string::npos)
      << r.console;
  EXPECT_NE(r.console.find("\n *** SR ASPLIT: Satellite problem file in use by another run\n" + b16 +
                           "File name : " + crx() + "\n" + b16 +
                           "Waited 0 s; the file was not changed.\n\n"),
            std::string::npos)
      << r.console;
  EXPECT_EQ(slurp(crx()), before);
}

TEST_F(AsplitFileTest, TheWaitingNoticeIsInTheFilesWhileTheRunWaits) {
  write_crx("\n");
  load();
  platform::FileLock other;
  ASSERT_EQ(platform::lock_file(crx(), other, 0.0), 0);
  const std::string out = tmp.file("SYS.OUT"), err = tmp.file("SYS.ERR");
  framework::Tolk& units = framework::m_tolk;
  ASSERT_EQ(platform::open_unit(units.lfnOutFil, out, platform::OpenStatus::New, false), 0);
  ASSERT_EQ(platform::open_unit(units.lfnMsgFil, err, platform::OpenStatus::New, false), 0);
  units.lfnOut = units.lfnOutFil;
  units.lfnMsg = units.lfnMsgFil;
  framework::write_line(units.lfnOut, " THRESHOLD VALUES FOR RMS");
  orbit_check::s_asplit = {0.05, 1.0};
  std::string seenOut, seenErr;
  std::thread watcher([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    seenOut = slurp(out);
    seenErr = slurp(err);
  });
  SplitList s;
  split(extract({1, 2, 3, 4, 5}, {0.02, 0.02, 0.02, 0.02, 0.10}), gps(2.0, 0.0), s);
  watcher.join();
  orbit_check::s_asplit = {};
  EXPECT_EQ(seenOut, " THRESHOLD VALUES FOR RMS\n") << "the output before the message";
  EXPECT_NE(seenErr.find(" ### SR ASPLIT: Satellite problem file in use by another run, waiting\n"),
            std::string::npos)
      << seenErr;
}

TEST_F(AsplitFileTest, NoRecordsNoRewriteAndNoNameNoFile) {
  write_crx("");
  const std::string before = slurp(crx());
  load();
  SplitList s;
  split(extract({1, 2}, {0.02, 0.021}), gps(3.0, 0.0), s);
  EXPECT_EQ(s.count, 0);
  EXPECT_EQ(slurp(crx()), before) << "split count 0: the file is not touched";

  load(false);
  split(extract({1, 2, 3, 4, 5}, {0.02, 0.02, 0.02, 0.02, 0.10}), gps(2.0, 0.0), s);
  EXPECT_EQ(s.count, 1);
  EXPECT_EQ(slurp(crx()), before);
}

TEST_F(AsplitFileTest, ReportsOnTheProgramOutputAndTheReportFile) {
  framework::d_pgmid.runTitle = "Orbit check";
  framework::d_pgmid.runDate = "08-DEC-26";
  framework::d_pgmid.runTime = "16:05";
  ThresholdTable t = gps(2.0, 0.0);
  t.factor[1] = 3.0;
  const auto e = extract({55, 5, 1, 2, 3, 104}, {0.30, 0.02, 0.02, 0.02, 0.02, 0.0});
  SplitList s;
  s.count = 1;
  s.satNum = {5};
  s.rms = {0.3};
  level = {0.1, 0.03};
  auto r = testsupport::run_captured(tmp, [&] { orbit_check::print_split_tables(e, t, level, s); });
  EXPECT_EQ(r.console,
            " SYSTEM   COMPUTED MEAN RMS  EDITING LEVEL\n"
            " -------  -----------------  -------------\n"
            " GPS              50.0 mm       100.0 mm\n"
            " GLONASS          10.0 mm        30.0 mm\n"
            "\n\n"
            " Sat.  RMS (mm)\n"
            " ----  ---------\n"
            "   55    300.0\n"
            "    5     20.0 *\n"
            "    1     20.0\n"
            "    2     20.0\n"
            "    3     20.0\n"
            "  104      0.0\n");
  r = testsupport::run_captured(tmp, [&] {
    orbit_check::write_split_report(6, t, level, s, kEpoch, "", "/data/PROT.PRT  ");
  });
  EXPECT_EQ(r.console, "Orbit check" + std::string(53, ' ') + " 08-DEC-26 16:05\n"
                       "Mean RMS and editing level: G 0.050/ 0.100  R 0.010/ 0.030\n"
                       "Arc splitting for  1 sat. on 2013-05-07 in \n"
                       "based on /data/PROT.PRT\n"
                       "  Sat.    :   5\n"
                       "  RMS (mm): 300\n");
  s = SplitList{};
  r = testsupport::run_captured(tmp, [&] {
    orbit_check::write_split_report(6, gps(2.0, 0.0), level, s, kEpoch, "SAT.CRX", "P");
  });
  EXPECT_EQ(r.console.substr(r.console.find("Arc")),
            "Arc splitting for  0 sat. on 2013-05-07 in SAT.CRX\nbased on P\n");
}

TEST_F(AsplitFileTest, TheMedianRuleInTheReportsAndTheWarningsOfSystemsNotEdited) {
  framework::d_pgmid.runTitle = "Orbit check";
  ThresholdTable t = gps(3.0, 0.0);
  t.factor[3] = 2.5;  // SBAS, not edited
  t.rule = orbit_check::EditRule::Median;
  level = {0.075, 0.0, 0.0, 0.0};
  SplitList s;
  auto r = testsupport::run_captured(tmp, [&] {
    orbit_check::print_split_tables(extract({}, {}), t, level, s);
    orbit_check::write_split_report(6, t, level, s, kEpoch, "", "P");
  });
  EXPECT_EQ(r.console.substr(0, r.console.find("\n\n")),
            " SYSTEM   COMPUTED MEDIAN RMS  EDITING LEVEL\n"
            " -------  -------------------  -------------\n"
            " GPS                25.0 mm        75.0 mm\n"
            " SBAS     not edited: fewer than 3 satellites");
  EXPECT_NE(r.console.find("\nMedian RMS and editing level (EDIT_RULE MEDIAN): G 0.025/ 0.075  "
                           "S not edited\nArc splitting"),
            std::string::npos)
      << r.console;

  std::array<orbit_check::SystemEditing, orbit_check::kMaxSys> systems{};
  systems[0] = {32, true};
  systems[1] = {0, false};  // no satellite: nothing to say
  systems[3] = {2, false};
  t.factor[1] = 3.0;
  const std::string b16(16, ' ');
  r = testsupport::run_captured(tmp, [&] { orbit_check::warn_not_editable(systems, t); });
  EXPECT_EQ(r.console,
            "\n ### PG FITCHK: SBAS is not edited: the median rule needs 3 satellites\n" + b16 +
                "Satellites: 2, factor FAC_SBA: 2.5\n" + b16 +
                "No satellite of SBAS is split.\n\n");
  t.rule = orbit_check::EditRule::Mean;
  r = testsupport::run_captured(tmp, [&] { orbit_check::warn_not_editable(systems, t); });
  EXPECT_EQ(r.console,
            "\n ### PG FITCHK: No SBAS satellite can reach the editing level of the mean rule\n" +
                b16 + "Satellites: 2, factor FAC_SBA: 2.5\n" + b16 +
                "A satellite reaches factor x mean RMS only when its system has more\n" + b16 +
                "satellites than the factor (the mean holds the satellite's own RMS).\n" + b16 +
                "Use a factor below 2.5 with a lower limit (LIM_SBA), or EDIT_RULE "
                "\"MEDIAN\".\n\n");
}

TEST_F(AsplitFileTest, MoreThanAHundredSplitsContinueOnAnotherLine) {
  SplitList s;
  for (int i = 1; i <= 101; ++i) {
    s.satNum.push_back(i);
    s.rms.push_back(0.001 * i);
  }
  s.count = 101;
  const auto r = testsupport::run_captured(tmp, [&] {
    orbit_check::write_split_report(6, ThresholdTable{}, level, s, kEpoch, "", "P");
  });
  EXPECT_NE(r.console.find(" 100\n" + std::string(11, ' ') + " 101\n  RMS (mm):   1"),
            std::string::npos)
      << r.console;
}

}  // namespace
