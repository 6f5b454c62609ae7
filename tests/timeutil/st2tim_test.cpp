#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <optional>
#include <string>

#include "support/test_support.h"
#include "timeutil/djul.h"
#include "timeutil/st2tim.h"

namespace {

using timeutil::DJUL;
using timeutil::ST2TIM;

const std::string in16(16, ' ');

std::string lines(std::initializer_list<std::string> ls) {
  std::string s;
  for (const std::string& l : ls) s += l + "\n";
  return s;
}

double at(int y, int m, int d, int h, int mi, double s) {
  return DJUL(y, m, d) + (h * 3600 + mi * 60 + s) / 86400.0;
}

class St2timTest : public testsupport::ModuleTest {
 protected:
  // Runs fn and expects the end of the run with exactly the message given.
  void expect_exit(const std::function<void()>& fn, const std::string& message) {
    testsupport::reset_all_state();  // each end of the run starts from a fresh run state
    const testsupport::RunResult r = testsupport::run_captured(tmp, fn);
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.console, message);
  }
};

TEST_F(St2timTest, SingleEpochs) {
  const struct {
    int type;
    std::string text;
    std::optional<int> n;
    double mjd;
  } cases[] = {
      {1, "2013-07-15 12:30:00", {}, at(2013, 7, 15, 12, 30, 0)},
      {2, "2013 07 15 12 30 00", {}, at(2013, 7, 15, 12, 30, 0)},
      {1, "2013/07/15-12.30.07", {}, at(2013, 7, 15, 12, 30, 7)},
      {2, "2013-07-15 12:30:07", 5, at(2013, 7, 15, 12, 30, 7)},
      {1, "2013-07-15         ", {}, at(2013, 7, 15, 0, 0, 0)},
      {1, "2013-07-15 12:30:00 and more", {}, at(2013, 7, 15, 12, 30, 0)},
      {1, "2013- 7- 5  1: 2: 3", {}, at(2013, 7, 5, 1, 2, 3)},
      {1, "2013-13-01 00:00:00", {}, at(2014, 1, 1, 0, 0, 0)},
      {1, "2013-07-15 25:00:00", {}, at(2013, 7, 16, 1, 0, 0)},
      {3, "2013 07 15 12 30  5.123", 3, at(2013, 7, 15, 12, 30, 5.123)},
      {3, "2013 07 15 12 30   5123", 3, at(2013, 7, 15, 12, 30, 5.123)},
      {3, "2013 07 15 12 30 59.50xyz", 2, at(2013, 7, 15, 12, 30, 59.5)},
      {3, "2013 07 15 12 30 5.123", {}, at(2013, 7, 15, 12, 30, 5.123)},
      {3, "2013 07 15 12 30  7.5, 8", {}, at(2013, 7, 15, 12, 30, 7.5)},
      {3, "2013 07 15 12 30 5.1E1", {}, at(2013, 7, 15, 12, 30, 51.0)},  // free form: a number
      {1, "                   ", {}, 0.0},
      {4, "   ", {}, 0.0},
      {1, "", {}, 0.0},
  };
  for (const auto& c : cases) {
    double mjd = -1.0;
    ST2TIM(c.type, 1, c.text, mjd, c.n);
    EXPECT_NEAR(mjd, c.mjd, 1e-9) << c.text;
  }
}

TEST_F(St2timTest, Windows) {
  const double t15 = at(2013, 7, 15, 0, 0, 0);
  const double t16 = at(2013, 7, 16, 6, 0, 0);
  const struct {
    int type;
    std::string text;
    std::optional<int> n;
    std::array<double, 2> window;
  } cases[] = {
      {1, "2013-07-15 00:00:00  2013-07-16 06:00:00", {}, {t15, t16}},
      {1, "2013-07-15 00:00:00xx2013-07-16 06:00:00 tail", {}, {t15, t16}},
      {1, std::string(21, ' ') + "2013-07-16 06:00:00", {}, {0.0, t16}},
      {1, "2013-07-15 00:00:00" + std::string(21, ' '), {}, {t15, 1e20}},
      {2, std::string(40, ' '), {}, {0.0, 1e20}},
      {3, "2013 07 15 00 00  0.000  2013 07 16 06 00  0.000", 3, {t15, t16}},
      {3, "2013 07 15 00 00 00  2013 07 16 06 00 00", {}, {t15, t16}},
      {3, "2013 07 15 00 00 0.0    2013 07 16 06 00 0.0   ", {}, {t15, t16}},
  };
  for (const auto& c : cases) {
    std::array<double, 2> w{-1.0, -1.0};
    const testsupport::RunResult r =
        testsupport::run_captured(tmp, [&] { ST2TIM(c.type, 2, c.text, w, c.n); });
    EXPECT_NEAR(w[0], c.window[0], 1e-9) << c.text;
    EXPECT_NEAR(w[1], c.window[1], 1e-9) << c.text;
    EXPECT_EQ(r.console, "") << c.text;
  }
}

TEST_F(St2timTest, WindowEndingAtItsStartWarnsAndReturnsTheValues) {
  const std::string text = "2013-07-15 00:00:00  2013-07-15 00:00:00   ";
  std::array<double, 2> w{};
  const testsupport::RunResult r = testsupport::run_captured(tmp, [&] { ST2TIM(1, 2, text, w); });
  EXPECT_FALSE(r.exited);
  EXPECT_EQ(r.console, lines({"", " ### SR ST2TIM: Illegal time interval:", in16 + text, ""}));
  EXPECT_EQ(w[0], DJUL(2013, 7, 15));
  EXPECT_EQ(w[1], DJUL(2013, 7, 15));
}

std::string too_short(char end, const std::string& current, const std::string& required) {
  return lines({"", std::string(" *** SR ST2TIM: The input string is too short") + end,
                in16 + "Current  length of the string: " + current,
                in16 + "Required length of the string: " + required, ""});
}

std::string cannot_extract(const std::string& text) {
  return lines({"", " *** SR ST2TIM: Cannot extract the datum/time.",
                in16 + "String: \"" + text + "\"", ""});
}

TEST_F(St2timTest, ErrorsEndTheRun) {
  double t = 0.0;
  std::array<double, 2> w{};
  expect_exit([&] { ST2TIM(1, 1, "2013-07-15 00:00:0", t); }, too_short('.', "  18", "  19"));
  expect_exit([&] { ST2TIM(3, 1, "2013 07 15 00 00 1.123", t, 3); },
              too_short('.', "  22", "  23"));
  expect_exit([&] { ST2TIM(2, 2, std::string(20, '1') + std::string(19, ' '), w); },
              too_short('.', "  39", "  40"));
  expect_exit([&] { ST2TIM(3, 2, std::string(47, '1'), w, 3); }, too_short(':', "  47", "  48"));
  expect_exit([&] { ST2TIM(4, 1, "2013-07-15 00:00:00", t); },
              lines({"", " *** SR ST2TIM: Unknown format identified:    4",
                     in16 + "(only values between 1 and 3 are supported)", ""}));
  expect_exit([&] { ST2TIM(1, 1, "2013-07-1x 00:00:00   ", t); },
              cannot_extract("2013-07-1x 00:00:00"));
  expect_exit([&] { ST2TIM(1, 2, "2013-07-15 00:00:00  2013-07-16 00:0?:00", w); },
              cannot_extract("2013-07-16 00:0?:00"));
}

// The seconds field takes digits, blanks, a sign and a decimal point only.
TEST_F(St2timTest, ExponentInTheSecondsCannotBeRead) {
  const struct {
    std::string text;
    int n;
  } cases[] = {
      {"2013 07 15 12 30  5.1E1", 3},
      {"2013 07 15 12 30  51D-1", 3},
      {"2013 07 15 12 305.1E0000000", 7},
      {"2013 07 15 12 30450.+00", 3},
  };
  double t = 0.0;
  for (const auto& c : cases) {
    expect_exit([&] { ST2TIM(3, 1, c.text, t, c.n); }, cannot_extract(c.text));
  }
  std::array<double, 2> w{};
  expect_exit([&] { ST2TIM(3, 2, "2013 07 15 00 00  0.000  2013 07 16 06 00  1.0E1", w, 3); },
              cannot_extract("2013 07 16 06 00  1.0E1"));
}

TEST_F(St2timTest, TypeThreeWithoutDigitsNeedsDatePartAndSeconds) {
  double t = 0.0;
  expect_exit([&] { ST2TIM(3, 1, "2013 07 15", t); }, cannot_extract("2013 07 15"));
  expect_exit([&] { ST2TIM(3, 1, "2013 07 15 12 30    ", t); },
              cannot_extract("2013 07 15 12 30"));
  expect_exit([&] { ST2TIM(3, 1, "2013 07 15 12 30 abc", t); },
              cannot_extract("2013 07 15 12 30 abc"));
}

TEST_F(St2timTest, DigitCountWithoutLayoutCannotBeRead) {
  double t = 0.0;
  std::array<double, 2> w{};
  const std::string text = "2013 07 15 12 30  5.123";
  expect_exit([&] { ST2TIM(3, 1, text + std::string(100, ' '), t, 96); }, cannot_extract(text));
  expect_exit([&] { ST2TIM(3, 1, text, t, -1); }, cannot_extract(text));
  expect_exit([&] { ST2TIM(3, 2, text, w, -30); }, cannot_extract(text));
}

}  // namespace
