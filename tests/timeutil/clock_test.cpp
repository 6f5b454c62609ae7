#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/clock.h"
#include "support/test_support.h"
#include "timeutil/clocks.h"
#include "timeutil/dattim.h"

namespace {

class ClockTest : public testsupport::ModuleTest {};

TEST_F(ClockTest, ClocksOrdersTheLocalTimeFields) {
  platform::set_fake_clock(platform::LocalTime{2026, 12, 7, 60, 6, 5, 9, 123});
  std::array<int, 8> v{};
  timeutil::CLOCKS(v);
  EXPECT_EQ(v, (std::array<int, 8>{2026, 12, 7, 60, 6, 5, 9, 123}));
}

TEST_F(ClockTest, DattimStamps) {
  struct Case {
    platform::LocalTime t;
    const char* date;
    const char* time;
  } cases[] = {
      {{2026, 12, 7, 0, 6, 5, 0, 0}, "07-DEC-26", "06:05"},
      {{2000, 1, 31, 0, 23, 59, 59, 999}, "31-JAN-00", "23:59"},
      {{2009, 5, 1, 0, 0, 0, 0, 0}, "01-MAY-09", "00:00"},
  };
  for (const Case& c : cases) {
    platform::set_fake_clock(c.t);
    std::string date, time;
    timeutil::DATTIM(date, time);
    EXPECT_EQ(date, c.date);
    EXPECT_EQ(time, c.time);
  }
}

}  // namespace
