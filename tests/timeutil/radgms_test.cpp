#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/test_support.h"
#include "timeutil/radgms.h"

namespace {

const double pi = 4.0 * std::atan(1.0);

struct Split {
  char sign;
  int whole, minutes;
  double seconds;
};

Split radgms(int type, double value, char sign = 'x') {
  Split s{sign, -1, -1, -1.0};
  timeutil::RADGMS(type, value, s.sign, s.whole, s.minutes, s.seconds);
  return s;
}

struct Case {
  int type;
  double value;
  char sign;  // 'x': left as passed
  int whole, minutes;
  double seconds;
};

class RadgmsTest : public testsupport::ModuleTest {};

TEST_F(RadgmsTest, Splits) {
  const Case cases[] = {
      {1, -12.5 * pi / 180.0, '-', 12, 30, 0.0},
      {1, 12.5 * pi / 180.0, ' ', 12, 30, 0.0},
      {0, pi / 2.0, ' ', 6, 0, 0.0},
      {0, -pi, '-', 12, 0, 0.0},
      {2, pi / 2.0, ' ', 100, 0, 0.0},
      {3, 0.75, 'x', 18, 0, 0.0},
      {3, 1.75, 'x', 18, 0, 0.0},
      {3, 0.5 + 61.5 / 86400.0, 'x', 12, 1, 1.5},
      {13, 0.75, 'x', 18, 0, 0.0},
      // A rounding error below noon shows as noon with the guard of type 3...
      {3, 0.5 - 1e-12, 'x', 12, 0, 0.0},
      // ...but not with the finer guard of type 13.
      {13, 0.5 - 1e-12, 'x', 11, 59, 59.9999999},
  };
  for (const Case& c : cases) {
    const Split s = radgms(c.type, c.value);
    EXPECT_EQ(s.sign, c.sign) << c.type << " " << c.value;
    EXPECT_EQ(s.whole, c.whole) << c.type << " " << c.value;
    EXPECT_EQ(s.minutes, c.minutes) << c.type << " " << c.value;
    EXPECT_NEAR(s.seconds, c.seconds, 1e-6) << c.type << " " << c.value;
    EXPECT_GE(s.seconds, 0.0);
  }
}

TEST_F(RadgmsTest, IllegalTypeEndsTheRunShowingTheReducedType) {
  const std::pair<int, std::string> cases[] = {{4, " 4"}, {14, " 4"}, {-1, "-1"}};
  for (const auto& [type, shown] : cases) {
    testsupport::reset_all_state();
    const testsupport::RunResult r = testsupport::run_captured(tmp, [&] { radgms(type, 1.0); });
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.console, "\n *** SR RADGMS: ILLEGAL TRANSFORMATION TYPE\n"
                         "                TRANS. TYPE:" + shown + "\n\n");
  }
}

}  // namespace
