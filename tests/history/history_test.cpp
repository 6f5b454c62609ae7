// The history view: reading results files, the view's values and findings,
// the table, the command line and its exit status, problem-file events.
#include <cmath>
#include <regex>
#include <sstream>

#include "bench/protocol_gen.h"
#include "bench/results_gen.h"
#include "history/history.h"
#include "history/history_options.h"
#include "history/history_plot.h"
#include "history/problem_events.h"
#include "history/read_results.h"
#include "results/run_record.h"
#include "results/write_results.h"
#include "support/test_support.h"

namespace {

using history::ResultsFile;
using testsupport::slurp;
using testsupport::spit;

class HistoryTest : public testsupport::ModuleTest {};

// A small results file in the run's layout, with one text replaced.
std::string results_text(const std::string& from = "", const std::string& to = "") {
  std::string t = R"({"program": "FITCHK", "version": "5.2", "run_start": "2013-06-12T06:30:00+00:00",
 "return_code": 0, "verdict": "none_split", "protocols": [{"file": "TRJ13162.OUT",
 "arc_window": {"rounded": {"start": {"iso": "2013-06-10T00:00:00", "mjd": 56453},
                            "end": {"iso": "2013-06-12T00:00:00", "mjd": 56455}}},
 "satellites": [{"number": 1, "system": "G", "rms_m": 0.012}, {"number": 2, "system": "G", "rms_m": null}],
 "eclipsing": [{"number": 1, "longest_shadow_s": 2140, "rms_mm": 12}]}], "arc_split": null})";
  if (!from.empty()) t.replace(t.find(from), from.size(), to);
  return t;
}

ResultsFile read(const std::string& text) {
  ResultsFile f;
  history::read_results(text, f);
  return f;
}

TEST_F(HistoryTest, FilesThatCannotBeUsedGiveTheirReason) {
  const std::string ok = results_text();
  const struct {
    std::string text, reason;
  } cases[] = {
      {ok.substr(0, 60), "damaged JSON: parse error at line 1, column 61: syntax error while parsing"},
      {" \n", "an empty file"},
      {"[1, 2]", "not a FITCHK results file (no \"program\": \"FITCHK\")"},
      {results_text("\"FITCHK\"", "\"TRJFIT\""), "not a FITCHK results file (no \"program\": \"FITCHK\")"},
      {results_text("\"5.2\"", "\"6.0\""), "a newer layout (version 6.0); this FITCHK reads those of version 5"},
      {results_text("\"5.2\"", "\"4.9\""), "an older layout (version 4.9); this FITCHK reads those of version 5"},
      {results_text("\"5.2\"", "5.2"), "not a FITCHK results file (no version number)"},
      {results_text("0.012", "\"12 mm\""), "not in the layout of version 5.2: \"rms_m\" is not a number"},
      {results_text("\"return_code\": 0", "\"return_code\": \"0\""),
       "not in the layout of version 5.2: \"return_code\" is not an integer"},
      {results_text("\"run_start\"", "\"started\""), "not in the layout of version 5.2: \"run_start\" missing"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(read(c.text).reason.substr(0, c.reason.size()), c.reason) << c.text;
  }
}

// What the run's own writer writes is read back as the run had it.
TEST_F(HistoryTest, ResultsOfTheRunReadBack) {
  results::RunRecord run;
  run.runStart = "2013-06-12T06:30:00+02:00";
  results::ProtocolRecord p;
  p.fileName = "${P}/OUT/TRJ13162.OUT";
  p.extract.window = {56453.0, 56455.0};
  p.extract.nSat = 3;
  p.extract.satNum = {13, 118, 401};
  p.extract.rms = {0.185, 0.342, 0.0625};
  p.extract.nEcl = 1;
  p.extract.eclSat[0] = 118;
  run.protocols.push_back(p);
  results::SplitRecord s;
  run.thresholds.factor = {3.0, 3.0, 0.0, 0.0, 3.0, 0.0};
  s.level = {0.079, 0.131, 0.0, 0.0, 0.25, 0.0};
  s.split.count = 1;
  s.split.satNum = {13};
  s.split.rms = {0.185};
  run.split = s;
  const ResultsFile f = read(results::write_results(run, 0, {}));
  ASSERT_EQ(f.reason, "");
  EXPECT_EQ(f.runStart, "2013-06-12T06:30:00+02:00");
  EXPECT_EQ(f.verdict, "satellites_split");
  ASSERT_EQ(f.protocols.size(), 1u);
  const history::ProtocolValues& v = f.protocols[0];
  EXPECT_EQ(v.file, "${P}/OUT/TRJ13162.OUT");
  EXPECT_EQ(v.day(), 56454);
  ASSERT_EQ(v.sats.size(), 3u);
  EXPECT_EQ(v.sats[2].number, 401);
  EXPECT_EQ(v.sats[2].rms, 0.0625);
  EXPECT_TRUE(v.sats[0].split && !v.sats[1].split);
  EXPECT_TRUE(v.sats[1].eclipsing && !v.sats[0].eclipsing);
  EXPECT_EQ(f.level, (std::array<double, 6>{0.079, 0.131, 0.0, 0.0, 0.25, 0.0}));
  // A null RMS is no value.
  EXPECT_FALSE(read(results_text()).protocols[0].sats[1].hasRms);
}

// A year of a chain's results with its planted faults, in a folder that
// also holds other files: the whole report.
TEST_F(HistoryTest, YearOfResultsShowsThePlantedFaults) {
  bench::ResultsPlan plan;
  bench::plant_faults(plan);
  ASSERT_FALSE(bench::write_results_set(tmp.path(), plan).empty());
  spit(tmp.file("schema.json"), "{\"title\": \"another JSON file\"}");
  spit(tmp.file("FIT13162.SUM"), "a summary");
  std::string report, errors;
  EXPECT_EQ(history::HISTORY({tmp.path()}, report, errors), 0);
  const std::string d = tmp.path() + "/";
  // Where the cut file ends depends on the results' layout, not on the view.
  report = std::regex_replace(report, std::regex("at line [0-9]+, column [0-9]+"),
                              "at line L, column C");
  EXPECT_EQ(report,
            "left out: " + d + "FIT13074.JSON: damaged JSON: parse error at line L, column C: syntax "
            "error while parsing value - unexpected end of input; expected '[', '{', or a literal\n"
            "left out: " + d + "FIT13122.JSON: the run ended with an error (return code 2)\n"
            "left out: " + d + "schema.json: not a FITCHK results file (no \"program\": \"FITCHK\")\n"
            "same day: 2013-04-02: " + d + "FIT13092B.JSON (run 2013-04-03T09:30:00+00:00) counts, not " +
            d + "FIT13092.JSON (run 2013-04-03T06:30:00+00:00)\n"
            "outlier: satellite 7 (GPS): at or above its system's level on 5 of the last 7 days "
            "(2013-12-25 to 2013-12-31); on 2013-12-31 0.248 m, level 0.066 m\n"
            "rise: satellite 12 (GPS): median RMS 0.042 m in the last 30 days (2013-12-02 to 2013-12-31), "
            "0.019 m in the 90 days before: 2.21 times\n"
            "appears: satellite 228 (GALILEO): first results on 2013-10-01\n"
            "disappears: satellite 124 (GLONASS): last results on 2013-07-01\n"
            "no results: 2013-03-15\n"
            "no results: 2013-07-02 to 2013-07-06 (5 days)\n"
            "run error: 2013-05-02: " + d + "FIT13122.JSON (return code 2, verdict error)\n"
            "results files: 359 read, 3 left out\n");
  EXPECT_EQ(errors, "");
}

std::vector<std::string> split_csv(const std::string& line) {
  std::vector<std::string> f;
  std::stringstream in(line);
  for (std::string x; std::getline(in, x, ',');) f.push_back(x);
  return f;
}

// Every row of the table against the value the results set holds.
TEST_F(HistoryTest, TableRowsHoldTheValuesOfTheResults) {
  bench::ResultsPlan plan;
  plan.days = 40;
  bench::plant_faults(plan);
  bench::write_results_set(tmp.path(), plan);
  std::string report, errors;
  ASSERT_EQ(history::HISTORY({tmp.path(), "--table", tmp.file("h.csv")}, report, errors), 0) << report;
  std::stringstream csv(slurp(tmp.file("h.csv")));
  std::string line;
  std::getline(csv, line);
  EXPECT_EQ(line, "date,mjd,protocol,satellite,system,rms_m,split,eclipsing");
  std::size_t rows = 0, expected = 0;
  for (int day = 0; day < plan.days; ++day) {
    for (int sat : bench::modern_satellites()) expected += bench::planned_rms(plan, sat, day) > 0;
  }
  while (std::getline(csv, line)) {
    const auto f = split_csv(line);
    ASSERT_EQ(f.size(), 8u) << line;
    const int day = std::stoi(f[1]) - static_cast<int>(plan.firstDay);
    EXPECT_EQ(std::stod(f[5]), bench::planned_rms(plan, std::stoi(f[3]), day)) << line;
    EXPECT_EQ(f[4], std::string(1, "GRESCJ"[std::stoi(f[3]) / 100])) << line;
    EXPECT_EQ(f[2].substr(0, 16), "${P}/ORB/OUT/TRJ") << line;
    ++rows;
  }
  EXPECT_EQ(rows, expected);
}

TEST_F(HistoryTest, ExitStatusAndFilesWritten) {
  bench::ResultsPlan plan;
  plan.days = 7;
  bench::write_results_set(tmp.path(), plan);
  spit(tmp.file("bad.json"), "{");
  const std::string svg = tmp.file("h.svg");
  const struct {
    std::vector<std::string> args;
    int status;
    std::string lastLine;  // of standard output, or of standard error for status 2
    bool written;
  } cases[] = {
      {{tmp.path(), "--plot", svg}, 0, "results files: 7 read, 1 left out", true},
      {{tmp.file("bad.json"), "--plot", svg}, 1, "results files: 0 read, 1 left out", false},
      {{tmp.file("none.json"), "--plot=" + svg}, 1, "results files: 0 read, 1 left out", false},
      {{"--plot", svg}, 2, "Try 'fitchk --history --help'.", false},
      {{tmp.path(), "--plot"}, 2, "Try 'fitchk --history --help'.", false},
      {{tmp.path(), "--colour", "red"}, 2, "Try 'fitchk --history --help'.", false},
      {{tmp.path(), "--outlier-days", "8"}, 2, "Try 'fitchk --history --help'.", false},
      {{tmp.path(), "--plot", tmp.file("FIT13001.JSON")}, 2, "Try 'fitchk --history --help'.", false},
      {{tmp.path(), "--plot", svg, "--table", svg}, 2, "Try 'fitchk --history --help'.", false},
      {{tmp.path(), "--plot", tmp.file("no/h.svg")}, 1, "results files: 7 read, 1 left out", false},
      {{tmp.path(), "--problem-file", tmp.file("none.crx"), "--plot", svg}, 1,
       "results files: 7 read, 1 left out", true},
  };
  for (const auto& c : cases) {
    std::remove(svg.c_str());
    std::string report, errors;
    EXPECT_EQ(history::HISTORY(c.args, report, errors), c.status) << c.args[0] << " " << report << errors;
    const std::string& out = c.status == 2 ? errors : report;
    EXPECT_EQ(out.substr(out.rfind('\n', out.size() - 2) + 1), c.lastLine + "\n") << out;
    EXPECT_EQ(!slurp(svg).empty(), c.written) << c.args.back();
  }
  const std::string fits = slurp(tmp.file("FIT13001.JSON"));
  EXPECT_EQ(fits.substr(0, 1), "{");  // never replaced
}

// A protocol name with a comma and a quote stays one field of the table; a
// file name with a control character is shown as U+FFFD in the picture.
TEST_F(HistoryTest, NamesKeptSafeInTableAndPicture) {
  const std::string name = tmp.file("FIT\x01.json");
  // A run that exceeded the tolerance: its values are shown, its day is a run error.
  std::string text = results_text("\"TRJ13162.OUT\"", "\"TRJ,1\\\"62.OUT\"");
  text.replace(text.find("\"return_code\": 0"), 16, "\"return_code\": 2");
  text.replace(text.find("\"none_split\""), 12, "\"tolerance_exceeded\"");
  spit(name, text);
  std::string report, errors;
  ASSERT_EQ(history::HISTORY({name, "--table", tmp.file("h.csv"), "--plot", tmp.file("h.svg")}, report,
                             errors), 0) << report;
  EXPECT_EQ(slurp(tmp.file("h.csv")),
            "date,mjd,protocol,satellite,system,rms_m,split,eclipsing\n"
            "2013-06-11,56454,\"TRJ,1\"\"62.OUT\",1,G,0.012,0,1\n");
  const std::string svg = slurp(tmp.file("h.svg"));
  EXPECT_NE(svg.find("run error: 2013-06-11: " + tmp.path() + "/FIT\xEF\xBF\xBD.json"), std::string::npos);
  EXPECT_EQ(svg.find('\x01'), std::string::npos);
}

TEST_F(HistoryTest, OptionErrorsNameTheOption) {
  const struct {
    std::vector<std::string> args;
    std::string why;
  } cases[] = {
      {{"a.json", "--outlier-window", "0"}, "--outlier-window: \"0\" is not a whole number from 1 to 100000"},
      {{"a.json", "--rise-factor=0.5"}, "--rise-factor: \"0.5\" is not a number of at least 1"},
      {{"a.json", "--outlier-factor", "3x"}, "--outlier-factor: \"3x\" is not a number of at least 1"},
      {{"a.json", "--table="}, "--table: the file name is empty"},
      {{"a.json", "-x"}, "unknown option -x"},
      {{"--", "--plot"}, ""},  // after "--" a file name
  };
  for (const auto& c : cases) {
    history::HistoryOptions o;
    EXPECT_EQ(history::parse_history_options(c.args, o), c.why);
  }
}

TEST_F(HistoryTest, ColumnsWidenWithTheSpan) {
  EXPECT_EQ(history::columns_for(7), history::Columns::Day);
  EXPECT_EQ(history::columns_for(400), history::Columns::Day);
  EXPECT_EQ(history::columns_for(401), history::Columns::Week);
  EXPECT_EQ(history::columns_for(2801), history::Columns::Month);
  EXPECT_EQ(history::columns_for(9131), history::Columns::Month);
  EXPECT_EQ(history::columns_for(40000), history::Columns::Year);
}

TEST_F(HistoryTest, ProblemFileEventsOnTheirDays) {
  const std::string head = "SATELLITE PROBLEMS\n\n\n\n\n\n";
  spit(tmp.file("SAT.CRX"), head +
                               "    7         4         0       2013 06 11 00 00 00\n"
                               "   12         0         0       2013-06-12 10:00:00\n"
                               "  118         3         2       2013-06-01 00:00:00  2013-06-20 00:00:00\n"
                               "   13         4         0       2014-01-01 00:00:00\n");
  std::vector<history::ProblemEvent> events;
  EXPECT_EQ(history::read_problem_events(tmp.file("SAT.CRX"), 56450, 56460, events), "");
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].sat, 7);
  EXPECT_EQ(events[0].day, 56454);
  EXPECT_EQ(events[1].kind, history::ProblemEvent::Kind::Manoeuvre);
  EXPECT_EQ(events[1].day, 56455);
  EXPECT_EQ(events[2].kind, history::ProblemEvent::Kind::BadData);
  EXPECT_EQ(events[2].day, 56450);  // begun before the span: on its first day
  EXPECT_EQ(history::read_problem_events(tmp.file("none.crx"), 0, 1, events), "no such file");
  EXPECT_EQ(history::read_problem_events(tmp.path(), 0, 1, events), "is a folder");
  EXPECT_EQ(history::read_problem_events("/dev/null", 0, 1, events), "not a regular file: not read");
}

}  // namespace
