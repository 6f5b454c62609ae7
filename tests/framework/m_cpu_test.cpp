#include <gtest/gtest.h>

#include <string>

#include "framework/d_pgmid.h"
#include "framework/m_cpu.h"
#include "framework/m_tolk.h"
#include "platform/clock.h"
#include "platform/units.h"
#include "support/test_support.h"

namespace {

using framework::CPU_END;
using framework::CPU_NOW;
using framework::CPU_START;
using platform::LocalTime;

const LocalTime start{2026, 12, 7, 60, 10, 0, 0, 0};

class CpuTest : public testsupport::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    framework::d_pgmid.pgmName = "FITCHK";
    platform::set_fake_clock(start, 1.0);
    CPU_START(true);
  }
  std::string run(const std::function<void()>& fn) {
    return testsupport::run_captured(tmp, fn).console;
  }
};

std::string end_lines(const std::string& times, const std::string& verdict) {
  const std::string line = ">>> CPU/Real time for pgm \"FITCHK\": " + times;
  return "\n" + line + "\n\n" + "\n\n" + std::string(65, '-') + "\n" + line + "\n" + verdict +
         "\n\n";
}

TEST(WriteTimeTest, Layouts) {
  const std::pair<double, const char*> cases[] = {
      {5.123 / 86400.0, "0:00:05.123"},
      {25.0 / 24.0, "1:00:00.000"},
      {0.0, "0:00:00.000"},
      {(10 * 3600 + 5 * 60 + 3.5) / 86400.0, "10:05:03.500"},
      {(11 * 3600 + 2.25) / 86400.0, "11:00:02.250"},
      {(23 * 3600 + 59 * 60 + 59.999) / 86400.0, "23:59:59.999"},
  };
  for (const auto& [days, text] : cases) {
    std::string s = "old";
    framework::WRITE_TIME(s, days);
    EXPECT_EQ(s, text);
  }
}

TEST_F(CpuTest, EndLineWithVerdictPerReturnCode) {
  const std::pair<int, const char*> cases[] = {{0, ">>> Program finished successfully"},
                                               {1, ">>> Program finished successfully"},
                                               {2, ">>> Program ended with an error"}};
  platform::set_fake_clock(LocalTime{2026, 12, 8, 60, 11, 0, 0, 0}, 6.123);
  for (const auto& [ircode, verdict] : cases) {
    EXPECT_EQ(run([&] { CPU_END(ircode); }), end_lines("0:00:05.123 / 1:00:00.000", verdict));
  }
}

TEST_F(CpuTest, WallClockAcrossMidnight) {
  platform::set_fake_clock(LocalTime{2026, 12, 7, 60, 23, 59, 50, 500}, 1.0);
  CPU_START(true);
  platform::set_fake_clock(LocalTime{2026, 12, 8, 60, 0, 0, 10, 250}, 1.0);
  EXPECT_EQ(run([] { CPU_END(0); }),
            end_lines("0:00:00.000 / 0:00:19.750", ">>> Program finished successfully"));
}

TEST_F(CpuTest, NothingWithoutStartedClockOrProgramName) {
  CPU_START(false);
  EXPECT_EQ(run([] { CPU_END(0); CPU_NOW("x"); }), "");
  CPU_START(true);
  framework::d_pgmid.pgmName = "  ";
  EXPECT_EQ(run([] { CPU_END(2); CPU_NOW("x"); }), "");
}

TEST_F(CpuTest, TimeLineToConsoleRestToProgramOutput) {
  ASSERT_EQ(platform::open_unit(20, tmp.file("out"), platform::OpenStatus::New, false), 0);
  framework::m_tolk.lfnOut = 20;
  platform::set_fake_clock(LocalTime{2026, 12, 7, 60, 10, 0, 2, 0}, 3.5);
  const std::string line = ">>> CPU/Real time for pgm \"FITCHK\": 0:00:02.500 / 0:00:02.000";
  EXPECT_EQ(run([] { CPU_END(0); }), "\n" + line + "\n\n");
  platform::close_unit(20);
  EXPECT_EQ(testsupport::slurp(tmp.file("out")), "\n\n" + std::string(65, '-') + "\n" + line +
                                                     "\n>>> Program finished successfully\n\n");
}

TEST_F(CpuTest, NowShowsTimesSinceStartAndSinceLastPoint) {
  // The last point moves also while nothing is printed.
  framework::d_pgmid.pgmName = "";
  platform::set_fake_clock(LocalTime{2026, 12, 7, 60, 10, 0, 1, 0}, 2.0);
  CPU_NOW("silent");
  framework::d_pgmid.pgmName = "FITCHK";
  platform::set_fake_clock(LocalTime{2026, 12, 7, 60, 10, 1, 0, 0}, 4.25);
  EXPECT_EQ(run([] { CPU_NOW("step 1   "); }),
            "\n>>> CPU/Real time at \"step 1\": 0:00:03.250 / 0:01:00.000  "
            "( 0:00:02.250 / 0:00:59.000 )\n\n");
}

}  // namespace
