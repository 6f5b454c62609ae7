#include "orbit_check/rms_summary.h"

#include <string>

#include "framework/m_tolk.h"
#include "platform/units.h"
#include "support/test_support.h"
#include "timeutil/djul.h"

namespace {

using orbit_check::ProtocolExtract;
using testsupport::slurp;

const double D = timeutil::DJUL(2013, 5, 6.0);  // day of year 126
const std::string B18(18, ' ');
const std::string B33(33, ' ');

double at(int h, int m, int s) { return (h * 3600 + m * 60 + s) / 86400.0; }

class RmsSummaryTest : public testsupport::ModuleTest {
 protected:
  // Runs the step with both report files open; summary and week text out.
  void summarize(const ProtocolExtract& e, const std::string& name = "p.prt", bool week = true) {
    const auto& t = framework::m_tolk;
    ASSERT_EQ(platform::open_unit(t.lfnAux1, tmp.file("sum"), platform::OpenStatus::New, false), 0);
    ASSERT_EQ(platform::open_unit(t.lfnAux2, tmp.file("week"), platform::OpenStatus::New, false),
              0);
    orbit_check::SUMMARIZE_PROTOCOL(name, e, window, rmsMax, satMax, week);
    platform::close_unit(t.lfnAux1);
    platform::close_unit(t.lfnAux2);
    summary = slurp(tmp.file("sum"));
    weekLine = slurp(tmp.file("week"));
  }
  ProtocolExtract ext;
  std::array<double, 2> window{D, D + 2};
  double rmsMax = -1;
  int satMax = -1;
  std::string summary, weekLine;
};

TEST_F(RmsSummaryTest, SummaryBlockAndWeekLine) {
  ext.nSat = 4;
  ext.satNum = {5, 12, 103, 12};
  ext.rms = {0.034, 0.126, 0.126, 0.020};
  ext.nEcl = 3;
  ext.eclSat = {12, 103, 31};
  ext.longShadow = {2705, 59, 60};
  summarize(ext, "/data/orbits\\sub/PROT_2013_126.PRT");
  EXPECT_EQ(rmsMax, 0.126);
  EXPECT_EQ(satMax, 12) << "the first of equal values";
  EXPECT_EQ(summary,
            "  PROT_2013_126.P # Sat.:   4 , # Eclipsing:  3 , Max. RMS: 0.126 for sat.  12\n"
            "  (DOY: 127)      Eclips. Sat. :   12 103  31\n" +
                B18 + "Min in eclips:   45   0   1\n" +
                // Satellite 12: its last entry; 31 has none.
                B18 + "RMS (mm)     :   20 126   0\n\n");
  EXPECT_EQ(weekLine, " 127   3  13  13   2\n");

  summarize(ProtocolExtract{}, "short", false);
  EXPECT_EQ(summary,
            "  short           # Sat.:   0 , # Eclipsing:  0 , Max. RMS: 0.000 for sat.   0\n"
            "  (DOY: 127)      Eclips. Sat. : \n" +
                B18 + "Min in eclips: \n" + B18 + "RMS (mm)     : \n\n");
  EXPECT_EQ(weekLine, "") << "week file not open";
}

TEST_F(RmsSummaryTest, WindowRoundingAndDayOfYear) {
  const double J = timeutil::DJUL(2013, 12, 31.0);
  struct Case {
    double start, end, wantStart, wantEnd;
    const char* doy;
  };
  const Case cases[] = {
      {D, D + 2, D, D + 2, "127"},
      {D + at(23, 59, 0), D + 2, D + 1, D + 2, "127"},
      {D + at(23, 58, 33), D + 2, D, D + 2, "127"},
      {D + at(23, 58, 34), D + 2, D + 1, D + 2, "127"},
      {D, D + 2 + at(11, 58, 0), D, D + 2, "127"},
      {D, D + 2 + at(11, 58, 33), D, D + 2, "127"},
      {D, D + 2 + at(11, 58, 34), D, D + 3, "127"},
      {D, D + 4 + at(12, 0, 0), D, D + 5, "128"},
      {J, J + 2, J, J + 2, "183"},  // 365 and 2
      {0, 0, 0, 0, "321"},          // 1858-11-17
      {D, 1e20, D, 1e20, "***"},    // an open end
  };
  for (const Case& c : cases) {
    window = {c.start, c.end};
    summarize(ext);
    EXPECT_EQ(window[0], c.wantStart) << c.doy;
    EXPECT_EQ(window[1], c.wantEnd) << c.doy;
    EXPECT_EQ(summary.substr(summary.find("(DOY: ") + 6, 3), c.doy);
    EXPECT_EQ(weekLine, std::string(" ") + c.doy + "\n");
  }
}

TEST_F(RmsSummaryTest, LargestRmsField) {
  struct Case {
    double a, b;
    int sat;
    const char* text;
  };
  const Case cases[] = {
      {12.3456, 1.0, 1, "12.346"}, {1.0, 123.4, 2, "******"}, {0.5, 0.5, 1, " 0.500"}};
  for (const Case& c : cases) {
    ext.nSat = 2;
    ext.satNum = {1, 2};
    ext.rms = {c.a, c.b};
    summarize(ext);
    EXPECT_EQ(satMax, c.sat);
    EXPECT_EQ(summary.substr(59, 6), c.text);
  }
}

TEST_F(RmsSummaryTest, MoreThan20EclipsingSatellitesContinue) {
  ext.nEcl = 23;
  std::string sats, minutes;
  for (int j = 0; j < 23; ++j) {
    ext.eclSat[j] = j + 1;
    ext.longShadow[j] = 60 * (j + 1) + 59;
    const std::string v = (j < 9 ? "   " : "  ") + std::to_string(j + 1);
    sats += (j == 20 ? "\n" + B33 : "") + v;
  }
  summarize(ext);
  const std::string zeros =
      "   0   0   0   0   0   0   0   0   0   0   0   0   0   0   0   0   0   0   0   0\n" + B33 +
      "   0   0   0\n";
  EXPECT_EQ(summary.substr(summary.find('\n') + 1),
            "  (DOY: 127)      Eclips. Sat. : " + sats + "\n" + B18 + "Min in eclips: " + sats +
                "\n" + B18 + "RMS (mm)     : " + zeros + "\n");
}

TEST_F(RmsSummaryTest, ThresholdTableListsSystemsWithAFactor) {
  orbit_check::ThresholdTable t;
  t.factor = {3.0, 0.0, 2.5, 0, 0, 0};
  t.limit = {0.05, 1.0, 123456.78912, 0, 0, 0};
  const auto r = testsupport::run_captured(tmp, [&] { orbit_check::PRINT_THRESHOLDS(t); });
  EXPECT_EQ(r.console,
            " THRESHOLD VALUES FOR RMS\n"
            " ------------------------\n"
            " SYSTEM   FACTOR WRT MEAN RMS  LOWER LIMIT FOR RMS\n"
            " -------  -------------------  -------------------\n"
            " GPS            3.0000               0.0500 m\n"
            " GALILEO        2.5000          123456.7891 m\n"
            "\n\n");
  t.rule = orbit_check::EditRule::Median;
  const auto m = testsupport::run_captured(tmp, [&] { orbit_check::PRINT_THRESHOLDS(t); });
  EXPECT_EQ(m.console.substr(0, m.console.find(" GALILEO")),
            " THRESHOLD VALUES FOR RMS (EDIT_RULE MEDIAN)\n"
            " -------------------------------------------\n"
            " SYSTEM   FACTOR WRT MEDIAN RMS  LOWER LIMIT FOR RMS\n"
            " -------  ---------------------  -------------------\n"
            " GPS              3.0000               0.0500 m\n");
}

}  // namespace
