#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace platform {
namespace {

std::optional<LocalTime>& fake_time() {
  static std::optional<LocalTime> t;
  return t;
}

std::optional<double>& fake_cpu() {
  static std::optional<double> c;
  return c;
}

// Minutes east of UTC of a broken-down local time.
int utc_offset(const std::tm& local) {
  char buf[8] = {};
  if (std::strftime(buf, sizeof buf, "%z", &local) != 5) return 0;
  int mins = ((buf[1] - '0') * 10 + (buf[2] - '0')) * 60 + (buf[3] - '0') * 10 + (buf[4] - '0');
  return buf[0] == '-' ? -mins : mins;
}

}  // namespace

LocalTime local_now() {
  if (fake_time()) return *fake_time();
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t secs = system_clock::to_time_t(now);
  auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm tm{};
  if (std::tm* p = std::localtime(&secs)) tm = *p;
  LocalTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.utc_offset_min = utc_offset(tm);
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  t.millisecond = static_cast<int>(ms < 0 ? 0 : ms);
  return t;
}

double cpu_seconds() {
  if (fake_cpu()) return *fake_cpu();
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

void set_fake_clock(std::optional<LocalTime> t, std::optional<double> cpu) {
  fake_time() = t;
  fake_cpu() = cpu;
}

}  // namespace platform
