#include "framework/defcon.h"

#include <cmath>

#include "framework/d_const.h"
#include "framework/d_pgmid.h"
#include "input/load_input.h"
#include "platform/clock.h"

namespace {

using framework::d_const;
using framework::d_pgmid;

class DefconTest : public testsupport::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    platform::set_fake_clock(platform::LocalTime{2026, 12, 7, 60, 6, 5, 9, 0});
  }
  testsupport::RunResult read(const std::string& constants) {
    testsupport::spit(tmp.file("const.dat"), constants);
    testsupport::load_input(tmp, "CONST 1 \"" + tmp.file("const.dat") + "\"\n");
    return testsupport::run_captured(tmp, [] { framework::DEFCON(1); });
  }
};

TEST_F(DefconTest, AngularConstantsAndDateOnly) {
  framework::DEFCON(0);
  EXPECT_DOUBLE_EQ(d_const.piConst, std::acos(-1.0));
  EXPECT_DOUBLE_EQ(d_const.degPerRad, 180.0 / std::acos(-1.0));
  EXPECT_DOUBLE_EQ(d_const.arcsecPerRad, 648000.0 / std::acos(-1.0));
  EXPECT_EQ(d_pgmid.runDate, "07-DEC-26");
  EXPECT_EQ(d_pgmid.runTime, "06:05");
  EXPECT_EQ(d_pgmid.dateDone, 0);
  EXPECT_EQ(d_const.C, 0.0);
}

TEST_F(DefconTest, ConstantsFileColumns) {
  const testsupport::RunResult r = read(
      "GENERAL CONSTANTS\n"
      "------------------\n"
      "C        299792458.0         m/s\n"
      "FREQ1    1.57542D+09\n"
      "FREQ2 12276000000\n"  // value starts in column 7: its first three digits are lost
      "GM                          3.9D14\n"  // value beyond column 25: not seen
      "c        1.0\n"
      "ET-UTC   69.184\n"
      "FRQE5a   1176450000\n");
  ASSERT_FALSE(r.exited) << r.console;
  EXPECT_EQ(d_const.C, 299792458.0);
  EXPECT_EQ(d_const.FREQ[0], 1.57542e9);
  EXPECT_EQ(d_const.FREQ[1], 76000000.0);
  EXPECT_EQ(d_const.GM, 0.0);
  EXPECT_EQ(d_const.ETUTC, 69.184);
  EXPECT_EQ(d_const.FRQE[2], 1176450000.0);
  const double l1 = 299792458.0 / 1.57542e9, l2 = 299792458.0 / 76000000.0;
  EXPECT_EQ(d_const.waveLen[0], l1);
  EXPECT_EQ(d_const.waveLen[4], l1 * l2 / (l2 - l1));
  EXPECT_EQ(d_const.satWaveLen[99][3], l1 - l2);
  EXPECT_EQ(d_const.satFreq[0][1], 76000000.0);
  EXPECT_EQ(d_pgmid.dateDone, 1);
  EXPECT_DOUBLE_EQ(d_const.piConst, std::acos(-1.0));
}

TEST_F(DefconTest, ValueThatIsNoNumberEndsTheRun) {
  const testsupport::RunResult r = read("C        299792458.0\nGM       abc\n");
  EXPECT_EQ(r.status, 1);
  const std::string msg =
      "\n *** SR DEFCON: ERROR DECODING DATA ON THE FOLLOWING LINE:\n"
      " GM       abc" + std::string(13, ' ') + "\n\n";
  EXPECT_EQ(r.console.substr(0, msg.size()), msg);
}

}  // namespace
