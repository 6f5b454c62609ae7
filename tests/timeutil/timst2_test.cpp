#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string>

#include "support/test_support.h"
#include "timeutil/djul.h"
#include "timeutil/st2tim.h"
#include "timeutil/timst2.h"

namespace {

using timeutil::DJUL;
using timeutil::ST2TIM;
using timeutil::TIMST2;

const std::string in16(16, ' ');

std::string lines(std::initializer_list<std::string> ls) {
  std::string s;
  for (const std::string& l : ls) s += l + "\n";
  return s;
}

double at(int y, int m, int d, int h, int mi, double s) {
  return DJUL(y, m, d) + (h * 3600 + mi * 60 + s) / 86400.0;
}

std::string timst2(int type, double mjd, std::size_t length, std::optional<int> n = {}) {
  std::string text(length, '#');
  TIMST2(type, 1, mjd, text, n);
  return text;
}

std::string timst2(int type, std::array<double, 2> w, std::size_t length,
                   std::optional<int> n = {}) {
  std::string text(length, '#');
  TIMST2(type, 2, w, text, n);
  return text;
}

class Timst2Test : public testsupport::ModuleTest {
 protected:
  void expect_exit(const std::function<void()>& fn, const std::string& message) {
    testsupport::reset_all_state();  // each end of the run starts from a fresh run state
    const testsupport::RunResult r = testsupport::run_captured(tmp, fn);
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.console, message);
  }
};

TEST_F(Timst2Test, SingleEpochs) {
  const struct {
    int type;
    double mjd;
    std::size_t length;
    std::optional<int> n;
    std::string text;
  } cases[] = {
      {1, 51544.5, 19, {}, "2000-01-01 12:00:00"},
      {1, 51544.5 - 1e-8, 19, {}, "2000-01-01 12:00:00"},
      {2, 51544.5, 19, {}, "2000 01 01 12 00 00"},
      {1, 51544.5, 25, {}, "2000-01-01 12:00:00      "},
      {1, -0.25, 19, {}, "1858-11-16 18:00:00"},
      {1, at(2000, 1, 1, 12, 0, 30.49), 19, {}, "2000-01-01 12:00:30"},
      {1, at(2000, 1, 1, 12, 0, 30.5), 19, {}, "2000-01-01 12:00:31"},
      {3, at(2000, 1, 1, 0, 4, 5.123), 23, 3, "2000 01 01 00 04  5.123"},
      {3, at(2000, 1, 1, 0, 4, 15.1234), 24, 3, "2000 01 01 00 04 15.123 "},
      {3, at(2000, 1, 1, 12, 0, 30), 20, 0, "2000 01 01 12 00 30."},
      {1, 0.0, 19, {}, std::string(19, ' ')},
      {1, 1e20, 19, {}, std::string(19, ' ')},
      {4, 0.0, 3, {}, "   "},
  };
  for (const auto& c : cases) EXPECT_EQ(timst2(c.type, c.mjd, c.length, c.n), c.text) << c.mjd;
}

TEST_F(Timst2Test, SecondsRoundingToSixtyCarryOn) {
  EXPECT_EQ(timst2(1, at(2000, 1, 1, 12, 0, 59.6), 19), "2000-01-01 12:01:00");
  EXPECT_EQ(timst2(1, at(2000, 1, 1, 12, 59, 59.6), 19), "2000-01-01 13:00:00");
  EXPECT_EQ(timst2(2, at(1999, 12, 31, 23, 59, 59.6), 19), "2000 01 01 00 00 00");
  EXPECT_EQ(timst2(1, at(2013, 2, 28, 23, 59, 59.7), 19), "2013-03-01 00:00:00");
  EXPECT_EQ(timst2(1, at(2012, 2, 28, 23, 59, 59.7), 19), "2012-02-29 00:00:00");
  EXPECT_EQ(timst2(3, at(2000, 1, 1, 12, 0, 59.96), 21, 1), "2000 01 01 12 01  0.0");
  EXPECT_EQ(timst2(3, at(2000, 1, 1, 23, 59, 59.9996), 23, 3), "2000 01 02 00 00  0.000");
  // Just below midnight, where the split itself gives hour 24.
  EXPECT_EQ(timst2(1, DJUL(1858, 11, 18) - 1e-7 - 5e-12, 19), "1858-11-18 00:00:00");
}

TEST_F(Timst2Test, Windows) {
  const double t1 = at(2013, 7, 15, 0, 0, 0);
  const double t2 = at(2013, 7, 16, 6, 0, 5.25);
  EXPECT_EQ(timst2(1, {0.0, 1e20}, 40), std::string(40, ' '));
  EXPECT_EQ(timst2(1, {t1, t2}, 40), "2013-07-15 00:00:00  2013-07-16 06:00:05");
  EXPECT_EQ(timst2(2, {t1, t2}, 42), "2013 07 15 00 00 00  2013 07 16 06 00 05  ");
  EXPECT_EQ(timst2(1, {0.0, t2}, 40), std::string(21, ' ') + "2013-07-16 06:00:05");
  EXPECT_EQ(timst2(1, {t1, 1e20}, 40), "2013-07-15 00:00:00" + std::string(21, ' '));
  EXPECT_EQ(timst2(3, {t1, t2}, 46, 2), "2013 07 15 00 00  0.00  2013 07 16 06 00  5.25");
}

std::string too_short(char end, const std::string& current, const std::string& required) {
  return lines({"", std::string(" *** SR TIMST2: The result string is too short") + end,
                in16 + "Current  length of the string: " + current,
                in16 + "Required length of the string: " + required, ""});
}

std::string digits_missing(const std::string& indent) {
  return lines({"", " *** SR TIMST2: The number of fractionals for the seconds",
                indent + "in the resulting string is not specified.",
                indent + "(required optional argument for format type 3)", ""});
}

TEST_F(Timst2Test, ErrorsEndTheRunBeforeAnythingIsWritten) {
  const double t = 51544.5;
  std::string text(60, '#');
  expect_exit([&] { text.resize(18); TIMST2(1, 1, t, text); }, too_short('.', "  18", "  19"));
  EXPECT_EQ(text, std::string(18, ' '));
  expect_exit([&] { text.resize(22); TIMST2(3, 1, t, text, 3); }, too_short('.', "  22", "  23"));
  expect_exit([&] { text.resize(39); TIMST2(2, 2, {t, t + 1}, text); },
              too_short('.', "  39", "  40"));
  expect_exit([&] { text.resize(47); TIMST2(3, 2, {t, t + 1}, text, 3); },
              too_short(':', "  47", "  48"));
  EXPECT_EQ(text, std::string(47, ' '));
  expect_exit([&] { text.resize(30); TIMST2(3, 1, t, text); }, digits_missing(in16));
  expect_exit([&] { text.resize(10); TIMST2(3, 2, {t, t + 1}, text); },
              digits_missing(std::string(8, ' ')));
  expect_exit([&] { text.resize(40); TIMST2(0, 1, t, text); },
              lines({"", " *** SR TIMST2: Unknown format identified:    0",
                     in16 + "(only values between 1 and 3 are supported)", ""}));
  expect_exit([&] { text.resize(200); TIMST2(3, 1, t, text, 96); },
              lines({"", " *** SR TIMST2: Illegal number of fractionals for the seconds:   96",
                     in16 + "(only values between 0 and 95 are supported)", ""}));
  expect_exit([&] { text.resize(40); TIMST2(1, 1, t, text, -3); },
              lines({"", " *** SR TIMST2: Illegal number of fractionals for the seconds:   -3",
                     in16 + "(only values between 0 and 95 are supported)", ""}));
}

TEST_F(Timst2Test, RoundTripsThroughSt2timToTheSecond) {
  for (int i = 0; i < 20000; ++i) {
    const double t = 15020.0 + i * 3.652437;  // 1900 to 2100, every time of day
    for (int type : {1, 2}) {
      std::string text(19, ' ');
      TIMST2(type, 1, t, text);
      double back = 0.0;
      ST2TIM(type, 1, text, back);
      ASSERT_LE(std::fabs(back - t) * 86400.0, 0.5 + 0.0087) << text;
    }
    std::string text(23, ' ');
    TIMST2(3, 1, t, text, 3);
    double back = 0.0;
    ST2TIM(3, 1, text, back, 3);
    ASSERT_LE(std::fabs(back - t) * 86400.0, 0.0005 + 1e-5) << text;
  }
}

TEST_F(Timst2Test, WholeSecondsRoundTripExactly) {
  for (int i = 0; i < 5000; ++i) {
    const double t = at(1950 + i % 150, 1 + i % 12, 1 + i % 28, i % 24, i % 60, (7 * i) % 60);
    std::array<double, 2> back{};
    std::string text(40, ' ');
    TIMST2(1, 2, {t, t + 0.5}, text);
    ST2TIM(1, 2, text, back);
    ASSERT_NEAR(back[0], t, 1e-9) << text;
    ASSERT_NEAR(back[1], t + 0.5, 1e-9) << text;
  }
}

}  // namespace
