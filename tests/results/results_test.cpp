#include <cmath>
#include <filesystem>

#include "framework/d_pgmid.h"
#include "framework/exitrc.h"
#include "framework/m_msglog.h"
#include "input/load_input.h"
#include "results/colour_scale.h"
#include "results/number_text.h"
#include "results/run_record.h"
#include "results/svg_doc.h"
#include "results/write_plot.h"
#include "results/write_results.h"
#include "support/test_support.h"
#include "timeutil/djul.h"

namespace {

using results::RunRecord;
using testsupport::slurp;

TEST(NumberTextTest, SameTextInEveryLocale) {
  EXPECT_EQ(results::fixed_text(26.366666, 1), "26.4");
  EXPECT_EQ(results::fixed_text(-0.04, 1), "0.0");
  EXPECT_EQ(results::fixed_text(185.0, 0), "185");
  EXPECT_EQ(results::shortest_text(0.342), "0.342");
  EXPECT_EQ(results::shortest_text(0.026366666666666677), "0.026366666666666677");
  EXPECT_EQ(results::shortest_text(56454.0), "56454");
  EXPECT_EQ(results::shortest_text(1.0e20), "1e+20");
  EXPECT_EQ(results::shortest_text(std::nan("")), "null");
}

TEST(IsoEpochTest, SecondsRoundedAndYearsOutsideLeftOut) {
  const double day = timeutil::DJUL(2013, 6, 10.0);
  EXPECT_EQ(results::iso_epoch(day), "2013-06-10T00:00:00");
  EXPECT_EQ(results::iso_epoch(day + 0.5 + 1.0 / 86400.0), "2013-06-10T12:00:01");
  EXPECT_EQ(results::iso_epoch(day - 0.2 / 86400.0), "2013-06-10T00:00:00");
  EXPECT_EQ(results::iso_epoch(0.0), "1858-11-17T00:00:00");
  EXPECT_EQ(results::iso_epoch(1.0e20), "");
}

TEST(ColourScaleTest, RmsAgainstItsSystemsMedian) {
  const struct {
    double rms, typical;
    int cls;
  } table[] = {
      {0.1, 0.25, 0}, {0.15, 0.25, 1}, {0.25, 0.25, 2}, {0.375, 0.25, 3},  // 1.5 begins class 3
      {0.5, 0.25, 4}, {1.0, 0.25, 5}, {1.25, 0.25, 6}, {0.8, 0.6, 2},
      {0.0, 0.0, 2}, {0.3, 0.0, 6}, {-0.1, 0.0, 2}, {0.1, -0.2, 6},  // a system of zeros
  };
  for (const auto& t : table) {
    EXPECT_EQ(results::rms_class(t.rms, t.typical), t.cls) << t.rms << " against " << t.typical;
  }
}

TEST(SvgTextTest, MarkupEscapedAndControlCharactersReplaced) {
  EXPECT_EQ(results::xml_text("a<b & \"c\">"), "a&lt;b &amp; &quot;c&quot;&gt;");
  EXPECT_EQ(results::xml_text(std::string("x\x01y\tz", 5)), "x\xEF\xBF\xBDy\tz");
  EXPECT_EQ(results::xml_text("Z\xFC"), "Z\xEF\xBF\xBD");
  EXPECT_EQ(results::xml_text("a\xEF\xBF\xBE\xEF\xBF\xBF\xEF\xBF\xBD\xEF\xBE\xBF"),
            "a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBE\xBF")
      << "U+FFFE and U+FFFF replaced, U+FFFD and U+FFBF kept";
}

TEST(ResultsTest, ARunEndedBeforeItsOptionsIsStillAValidDocument) {
  RunRecord run;
  run.title = "Quote \" backslash \\ tab \t Latin-1 \xFC";
  run.runStart = "2026-12-08T20:57:29+01:00";
  run.inputFile = "FITCHK.INP";
  run.inputPath = "/c/FITCHK.INP";
  EXPECT_EQ(results::write_results(run, 2, {{" *** SR GTFLNA: File name not found", "  x"}}),
            "{\n"
            "  \"program\": \"FITCHK\",\n"
            "  \"version\": \"5.2\",\n"
            "  \"run_title\": \"Quote \\\" backslash \\\\ tab \\u0009 Latin-1 \xEF\xBF\xBD\",\n"
            "  \"run_start\": \"2026-12-08T20:57:29+01:00\",\n"
            "  \"input_file\": \"FITCHK.INP\",\n"
            "  \"input_file_opened\": \"/c/FITCHK.INP\",\n"
            "  \"return_code\": 2,\n"
            "  \"exit_status\": 1,\n"
            "  \"verdict\": \"error\",\n"
            "  \"verdict_text\": \"Run ended with an error (return code 2): SR GTFLNA: File name not found\",\n"
            "  \"messages\": [\n"
            "    {\n"
            "      \"severity\": \"error\",\n"
            "      \"routine\": \"GTFLNA\",\n"
            "      \"lines\": [\n"
            "        \" *** SR GTFLNA: File name not found\",\n"
            "        \"  x\"\n"
            "      ]\n"
            "    }\n"
            "  ],\n"
            "  \"options\": null,\n"
            "  \"protocols\": [],\n"
            "  \"arc_split\": null,\n"
            "  \"tolerance_check\": null\n"
            "}\n");
}

TEST(ResultsTest, MessagesTellTheirSeverityAndRoutine) {
  const struct {
    const char* head;
    const char* expected;
  } cases[] = {
      {" ### PG FITCHK: No satellite RMS values found",
       "\"warning\",\n      \"routine\": \"FITCHK\""},
      {" *** SR d_satcrx:read_crux: READ FAILED",
       "\"error\",\n      \"routine\": \"d_satcrx:read_crux\""},
      {" *** SR EXIT_PGM:", "\"error\",\n      \"routine\": \"EXIT_PGM\""},
      {" ### Something without a routine", "\"warning\",\n      \"routine\": null"},
  };
  for (const auto& c : cases) {
    const std::string json = results::write_results(RunRecord{}, 0, {{c.head}});
    EXPECT_NE(json.find(std::string("\"severity\": ") + c.expected), std::string::npos) << json;
  }
  EXPECT_EQ(results::exit_status(1), 0);
  EXPECT_EQ(results::exit_status(3), 1);
}

TEST(ResultsTest, VerdictWithoutSplitTellsWhy) {
  RunRecord run;
  run.protocols.resize(1);
  run.protocols[0].extract.window = {56418.0, 56421.0};
  EXPECT_EQ(results::verdict_text(run, 0),
            "No check made: the arc is 3 days long, arc splitting needs 2");
  run.protocols[0].extract.window = {56418.0, 56420.0};
  run.noCheck = true;
  EXPECT_EQ(results::verdict_text(run, 2), "No check made: the protocol gave no RMS value");
  run.noCheck = false;
  run.protocols.resize(2);
  EXPECT_EQ(results::verdict_text(run, 0),
            "No check made: arc splitting needs one protocol, the run has 2");
  run.tolerance = results::ToleranceRecord{};
  EXPECT_EQ(results::verdict_text(run, 0), "No check made: TOL_RMS is 0");
  run.tolerance.reset();
  run.split = results::SplitRecord{};
  EXPECT_EQ(results::verdict_text(run, 0),
            "No satellite split: none reaches the editing level and lower limit");
  run.split->update.dropped = {7, 19};
  EXPECT_EQ(results::verdict_text(run, 0),
            "No new arc split: 7, 19 already split in the satellite problem file");
}

TEST(ResultsTest, ACheckThatCouldNotBeMadeIsNoCheckAlsoAfterAnError) {
  RunRecord run;
  run.tolerance = results::ToleranceRecord{0.2, 0.0, 0, false, false};
  run.noCheck = true;
  EXPECT_EQ(results::run_verdict(run, 2), results::Verdict::NoCheck);
  EXPECT_EQ(results::verdict_text(run, 2), "No check made: the run has no protocol");
  run.protocols.resize(1);
  EXPECT_EQ(results::verdict_text(run, 2), "No check made: the last protocol gave no RMS value");
  run.protocols[0].extract.nSat = 17;
  run.protocols[0].statedCount = 56;
  EXPECT_EQ(results::verdict_text(run, 2),
            "No check made: 17 of 56 satellites of the last protocol read");
  run.tolerance->exceeded = true;
  EXPECT_EQ(results::run_verdict(run, 2), results::Verdict::ToleranceExceeded);
}

TEST(ResultsTest, WhatAProtocolDidNotGiveIsNullNotZero) {
  RunRecord run;
  run.optionsRead = true;
  run.protocols.resize(1);
  run.protocols[0].hasWindow = false;
  run.tolerance = results::ToleranceRecord{0.2, 0.0, 0, false, false};
  run.noCheck = true;
  const std::string json = results::write_results(run, 2, {});
  for (const char* field :
       {"\"verdict\": \"no_check\"", "\"arc_window\": null", "\"day_of_year\": null",
        "\"largest_rms\": null", "\"checked\": false", "\"largest_rms_m\": null",
        "\"satellite\": null"}) {
    EXPECT_NE(json.find(field), std::string::npos) << field << "\n" << json;
  }
}

TEST(ResultsTest, TheMedianRuleAndASystemItDoesNotEdit) {
  RunRecord run;
  run.optionsRead = true;
  run.thresholds.factor = {3.0, 0.0, 0.0, 3.0, 0.0, 0.0};
  run.thresholds.rule = orbit_check::EditRule::Median;
  run.protocols.resize(1);
  orbit_check::ProtocolExtract& e = run.protocols[0].extract;
  e.nSat = 5;
  const int sats[] = {1, 2, 3, 320, 323};
  for (int i = 0; i < 5; ++i) {
    e.satNum[i] = sats[i];
    e.rms[i] = i == 2 ? 0.5 : 0.025;
  }
  run.split = results::SplitRecord{};
  run.split->level = {0.075, 0.0, 0.0, 0.0, 0.0, 0.0};
  run.split->split = {1, {3}, {0.5}};
  run.editing[0] = {3, true, 0.025};
  run.editing[3] = {2, false};
  const std::string json = results::write_results(run, 0, {});
  EXPECT_NE(json.find("\"edit_rule\": \"MEDIAN\""), std::string::npos) << json;
  EXPECT_NE(json.find("{\"system\": \"GPS\", \"letter\": \"G\", \"mean_rms_m\": null, "
                      "\"editing_level_m\": 0.075, \"statistic\": \"median\", "
                      "\"statistic_rms_m\": 0.025, \"satellite_count\": 3, \"editable\": true},\n"
                      "      {\"system\": \"SBAS\", \"letter\": \"S\", \"mean_rms_m\": null, "
                      "\"editing_level_m\": null, \"statistic\": \"median\", "
                      "\"statistic_rms_m\": null, \"satellite_count\": 2, \"editable\": false}\n"),
            std::string::npos)
      << json;
  const std::string svg = results::write_plot(run, 0, {});
  EXPECT_NE(svg.find("class=\"panel-title alert\">SBAS: 2 satellites, not edited: the median rule "
                     "needs 3 satellites<"),
            std::string::npos);
  EXPECT_NE(svg.find(">median RMS 25.0 mm<"), std::string::npos);
  EXPECT_NE(svg.find(">editing level 75.0 mm (3 \xC3\x97 median)<"), std::string::npos);
  EXPECT_EQ(svg.find("median RMS 0.0"), std::string::npos) << "no lines on the panel not edited";
}

class RunFilesTest : public testsupport::ModuleTest {};

TEST_F(RunFilesTest, AFailedPictureIsReportedAndTheResultsStillTellOfIt) {
  testsupport::load_input(tmp, "ENVIRONMENT 1 \"D\" \"" + tmp.path() + "\"\n" +
                                   "PLOTFIL 1 \"${D}/missing/RUN.SVG\"\n" +
                                   "JSONFIL 1 \"${D}/RUN.JSON\"\n");
  results::start_run_record(results::optional_file_name("PLOTFIL"),
                            results::optional_file_name("JSONFIL"));
  const auto r = testsupport::run_captured(tmp, [] { framework::EXITRC(0); });
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.console.find(" *** SR WRTERR: WRITE FAILED\n"
                           "                FILE NAME : ${D}/missing/RUN.SVG\n"),
            std::string::npos)
      << r.console;
  const std::string json = slurp(tmp.file("RUN.JSON"));
  EXPECT_NE(json.find("  \"return_code\": 2,\n"), std::string::npos) << json;
  EXPECT_NE(json.find("      \"                FILE NAME : ${D}/missing/RUN.SVG\",\n"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(tmp.file("missing")));
}

TEST_F(RunFilesTest, ResultsListedForDeletionAreDeletedAtTheEnd) {
  testsupport::load_input(tmp, "ENVIRONMENT 1 \"D\" \"" + tmp.path() + "\"\n" +
                                   "JSONFIL 1 \"${D}/RUN.JSON\"\nDELETE_FILES 1 JSONFIL\n");
  framework::d_pgmid.pgmName = "FITCHK";
  results::start_run_record("", results::optional_file_name("JSONFIL"));
  const auto r = testsupport::run_captured(tmp, [] { framework::EXITRC(0); });
  EXPECT_EQ(r.status, 0) << r.console;
  EXPECT_FALSE(std::filesystem::exists(tmp.file("RUN.JSON")));
}

TEST_F(RunFilesTest, NoFileWithoutTheKeywordsOrWithABlankName) {
  testsupport::load_input(tmp, "PLOTFIL 1 \"\"\nTITLE 1 \"t\"\n");
  const auto r = testsupport::run_captured(tmp, [] {
    results::start_run_record(results::optional_file_name("PLOTFIL"),
                              results::optional_file_name("JSONFIL"));
  });
  EXPECT_EQ(r.console, "") << "no \"Keyword not found\" message";
  EXPECT_EQ(framework::exitHook.hook, nullptr);
}

}  // namespace
