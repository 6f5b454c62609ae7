#include <gtest/gtest.h>

#include "timeutil/djul.h"
#include "timeutil/iyear4.h"
#include "timeutil/jmt.h"
#include "timeutil/l_basfun.h"
#include "timeutil/m_time.h"

namespace {

using timeutil::DJUL;
using timeutil::JMT;

// Days since 1970-01-01 by the era method, independent of DJUL's formula.
long long days_from_civil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

int days_in_month(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : days[m - 1];
}

TEST(DmodTest, SignOfTheDividend) {
  EXPECT_DOUBLE_EQ(timeutil::DMOD(5.5, 2.0), 1.5);
  EXPECT_DOUBLE_EQ(timeutil::DMOD(-5.5, 2.0), -1.5);
  EXPECT_DOUBLE_EQ(timeutil::DMOD(5.5, -2.0), 1.5);
  EXPECT_DOUBLE_EQ(timeutil::DMOD(-0.25, 1.0), -0.25);
}

TEST(DjulTest, KnownDates) {
  EXPECT_EQ(DJUL(2000, 1, 1.0), 51544.0);
  EXPECT_EQ(DJUL(1858, 11, 17.0), 0.0);
  EXPECT_EQ(DJUL(2013, 2, 29.0), 56352.0);
  EXPECT_EQ(DJUL(2013, 3, 1.0), 56352.0);
  EXPECT_EQ(DJUL(2013, 3, 0.0), DJUL(2013, 2, 28.0));
  EXPECT_EQ(DJUL(1582, 10, 4.0), -100851.0);
  EXPECT_EQ(DJUL(1582, 10, 15.0), -100840.0);
  EXPECT_EQ(DJUL(2000, 1, 1.5), 51544.5);
}

// The month term is a single-precision product: for m+1 = 1993 it cuts to
// 60986, where double precision would give 60985.
TEST(DjulTest, MonthTermInSinglePrecision) { EXPECT_EQ(DJUL(2000, 1992, 1.0), 112468.0); }

TEST(DjulTest, EveryDayFrom1600To2400MatchesTheEraMethod) {
  for (int y = 1600; y <= 2400; ++y) {
    for (int m = 1; m <= 12; ++m) {
      for (int d = 1; d <= days_in_month(y, m); ++d) {
        ASSERT_EQ(DJUL(y, m, d), days_from_civil(y, m, d) + 40587.0) << y << "-" << m << "-" << d;
      }
    }
  }
}

TEST(JmtTest, KnownEpochs) {
  int y = 0, m = 0;
  double d = 0.0;
  JMT(51544.5, y, m, d);
  EXPECT_EQ(y, 2000);
  EXPECT_EQ(m, 1);
  EXPECT_EQ(d, 1.5);
  JMT(-0.25, y, m, d);
  EXPECT_EQ(y, 1858);
  EXPECT_EQ(m, 11);
  EXPECT_EQ(d, 16.75);
  JMT(-100851.0, y, m, d);
  EXPECT_EQ(y, 1582);
  EXPECT_EQ(m, 10);
  EXPECT_EQ(d, 4.0);
}

TEST(JmtTest, InvertsDjulForEveryDayFrom1900To2100) {
  for (int y = 1900; y <= 2100; ++y) {
    for (int m = 1; m <= 12; ++m) {
      for (int d = 1; d <= days_in_month(y, m); ++d) {
        const double timeOfDay = (d % 7) / 7.0;
        int yy = 0, mm = 0;
        double dd = 0.0;
        JMT(DJUL(y, m, d + timeOfDay), yy, mm, dd);
        ASSERT_EQ(yy, y) << y << "-" << m << "-" << d;
        ASSERT_EQ(mm, m) << y << "-" << m << "-" << d;
        ASSERT_NEAR(dd, d + timeOfDay, 1e-9) << y << "-" << m << "-" << d;
      }
    }
  }
}

TEST(Iyear4Test, PivotAt1960) {
  const int cases[][2] = {{0, 2000}, {59, 2059}, {60, 1960}, {99, 1999}, {100, 100}, {2013, 2013}};
  for (const auto& c : cases) EXPECT_EQ(timeutil::IYEAR4(c[0]), c[1]) << c[0];
}

TEST(MtimeTest, IsinintToleratesTenMinutesOnBothSides) {
  timeutil::t_timint w;
  w.t = {56000.25, 56001.0};
  EXPECT_TRUE(timeutil::ISININT(56000.25 - 10.0 / 1440.0, w));
  EXPECT_FALSE(timeutil::ISININT(56000.25 - 11.0 / 1440.0, w));
  EXPECT_TRUE(timeutil::ISININT(56001.0 + 10.0 / 1440.0, w));
  EXPECT_FALSE(timeutil::ISININT(56001.0 + 11.0 / 1440.0, w));
  EXPECT_TRUE(timeutil::ISININT(56000.5, w));
}

TEST(MtimeTest, AddtimintCoversBothWindows) {
  timeutil::t_timint a, b;
  a.t = {10.0, 12.0};
  b.t = {11.0, 15.0};
  EXPECT_EQ(timeutil::ADDTIMINT(a, b).t, (std::array<double, 2>{10.0, 15.0}));
  EXPECT_EQ(timeutil::ADDTIMINT(b, a).t, (std::array<double, 2>{10.0, 15.0}));
}

}  // namespace
