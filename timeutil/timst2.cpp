#include "timeutil/timst2.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "platform/fortran_format.h"
#include "timeutil/djul.h"
#include "timeutil/time_messages.h"
#include "timeutil/jmt.h"
#include "timeutil/l_basfun.h"
#include "timeutil/radgms.h"

namespace timeutil {
namespace {

constexpr double openEnd = kOpenEnd;
constexpr int maxDigits = kMaxDigits;
const std::string indent(16, ' ');

[[noreturn]] void digits_missing(std::size_t indentWidth) {
  const std::string in(indentWidth, ' ');
  framework::write_lines(framework::m_tolk.lfnMsg,
                         {"", " *** SR TIMST2: The number of fractionals for the seconds",
                          in + "in the resulting string is not specified.",
                          in + "(required optional argument for format type 3)", ""});
  framework::EXITRC(2);
}

// No layout can be built for such a digit count.
void check_digits(std::optional<int> nDigit) {
  if (!nDigit || (*nDigit >= 0 && *nDigit <= maxDigits)) return;
  framework::write_lines(
      framework::m_tolk.lfnMsg,
      {"",
       platform::Line().A(" *** SR TIMST2: Illegal number of fractionals for the seconds: ")
           .I(*nDigit, 4).str(),
       indent + "(only values between 0 and 95 are supported)", ""});
  framework::EXITRC(2);
}

// Checks type, digit count and buffer length for one epoch (epochs 1) or a
// window (epochs 2); any failure ends the run.
void check_layout(int type, std::optional<int> nDigit, std::size_t length, int epochs) {
  long long required = epochs == 1 ? 19 : 40;
  if (type == 3) {
    if (!nDigit) digits_missing(epochs == 1 ? 16 : 8);
    required = epochs == 1 ? *nDigit + 20LL : 2LL * *nDigit + 42;
  } else if (type != 1 && type != 2) {
    unknown_time_format("TIMST2", type);
  }
  check_digits(nDigit);
  if (static_cast<long long>(length) < required) {
    string_too_short("TIMST2", "result", type == 3 && epochs == 2 ? ':' : '.', length, required);
  }
}

struct Parts {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  double seconds = 0.0;
};

Parts split(double epoch, std::optional<int> nDigit) {
  // The offset lifts an epoch a rounding error below a full second over it.
  const double offset = nDigit ? 1.0 / std::pow(10.0, *nDigit + 7) : 1.0e-7;
  Parts p;
  double day = 0.0;
  JMT(epoch + offset, p.year, p.month, day);
  p.day = to_int(std::trunc(day));
  char sign = ' ';
  RADGMS(3, day, sign, p.hour, p.minute, p.seconds);
  return p;
}

// Minutes of 60 on into the hour, an hour of 24 into the next date.
void carry(Parts& p) {
  p.hour += p.minute / 60;
  p.minute %= 60;
  if (p.hour < 24) return;
  p.hour -= 24;
  double day = 0.0;
  JMT(DJUL(p.year, p.month, p.day) + 1.0, p.year, p.month, day);
  p.day = to_int(day);
}

// The seconds field as written; seconds that round to 60 count as a minute.
std::string seconds_field(int type, std::optional<int> nDigit, Parts& p) {
  if (type != 3) {
    int s = nint(p.seconds);
    if (s >= 60) {
      s -= 60;
      ++p.minute;
    }
    return platform::fmt_i(s, 2, 2);
  }
  const int n = *nDigit;
  std::string field = platform::fmt_f(p.seconds, n + 4, n);
  if (field == platform::fmt_f(60.0, n + 4, n)) {
    field = platform::fmt_f(0.0, n + 4, n);
    ++p.minute;
  }
  return field;
}

std::string format_epoch(int type, double epoch, std::optional<int> nDigit) {
  Parts p = split(epoch, nDigit);
  const std::string seconds = seconds_field(type, nDigit, p);
  carry(p);
  const std::string_view dateSep = type == 1 ? "-" : " ";
  const std::string_view timeSep = type == 1 ? ":" : " ";
  platform::Line line;
  line.I(p.year, 4, 4).A(dateSep).I(p.month, 2, 2).A(dateSep).I(p.day, 2, 2);
  line.A(" ").I(p.hour, 2, 2).A(timeSep).I(p.minute, 2, 2);
  if (type != 3) line.A(timeSep);
  return line.A(seconds).str();
}

}  // namespace

void TIMST2(int type, int /*nEpo*/, double epoch, std::string& text,
            std::optional<int> nDigit) {
  std::fill(text.begin(), text.end(), ' ');
  if (epoch == 0.0 || epoch == openEnd) return;
  check_layout(type, nDigit, text.size(), 1);
  const std::string s = format_epoch(type, epoch, nDigit);
  text.replace(0, std::min(s.size(), text.size()), s, 0, text.size());
}

void TIMST2(int type, int /*nEpo*/, const std::array<double, 2>& window, std::string& text,
            std::optional<int> nDigit) {
  std::fill(text.begin(), text.end(), ' ');
  if (window[0] == 0.0 && window[1] == openEnd) return;
  check_layout(type, nDigit, text.size(), 2);
  const std::size_t width = type == 3 ? *nDigit + 20 : 19;
  for (std::size_t i = 0; i < 2; ++i) {
    std::string field(width, ' ');
    TIMST2(type, 1, window[i], field, nDigit);
    text.replace(i * (width + 2), width, field);
  }
}

}  // namespace timeutil
