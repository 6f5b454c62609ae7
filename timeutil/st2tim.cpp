#include "timeutil/st2tim.h"

#include <algorithm>
#include <string>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "platform/field_read.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"
#include "timeutil/djul.h"
#include "timeutil/time_messages.h"

namespace timeutil {
namespace {

constexpr double openEnd = kOpenEnd;
constexpr int maxDigits = kMaxDigits;
const std::string indent(16, ' ');

[[noreturn]] void cannot_extract(std::string_view text) {
  framework::write_lines(framework::m_tolk.lfnMsg,
                         {"", " *** SR ST2TIM: Cannot extract the datum/time.",
                          indent + "String: \"" + std::string(platform::rtrim(text)) + "\"", ""});
  framework::EXITRC(2);
}

// Columns first..last (1-based) of text, clipped to it; empty when none.
std::string_view columns(std::string_view text, long long first, long long last) {
  first = std::max(first, 1LL);
  last = std::min(last, static_cast<long long>(text.size()));
  if (last < first) return {};
  return text.substr(first - 1, last - first + 1);
}

// Required length of the type's layout, 0 for none; an unknown type ends the run.
long long required_length(int type, std::optional<int> nDigit, int epochs) {
  if (type == 1 || type == 2) return epochs == 1 ? 19 : 40;
  if (type != 3) unknown_time_format("ST2TIM", type);
  if (!nDigit) return 0;
  const long long n = *nDigit;
  return epochs == 1 ? n + 20 : 2 * n + 42;
}

struct Fields {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  double seconds = 0.0;
};

// Year to minute: I4, then four times one skipped column and I2.
bool read_date_part(std::string_view text, Fields& f) {
  if (text.size() < 16) return false;
  return platform::read_int_field(columns(text, 1, 4), f.year) &&
         platform::read_int_field(columns(text, 6, 7), f.month) &&
         platform::read_int_field(columns(text, 9, 10), f.day) &&
         platform::read_int_field(columns(text, 12, 13), f.hour) &&
         platform::read_int_field(columns(text, 15, 16), f.minute);
}

bool read_fields(int type, std::string_view text, std::optional<int> nDigit, Fields& f) {
  if (!read_date_part(text, f)) return false;
  if (type != 3) {
    int seconds = 0;
    if (!platform::read_int_field(columns(text, 18, 19), seconds)) return false;
    f.seconds = seconds;
    return true;
  }
  if (!nDigit) return platform::read_free_real(columns(text, 17, text.size()), f.seconds);
  const int n = *nDigit;
  // Outside 0-95 no layout can be built, so nothing can be read.
  if (n < 0 || n > maxDigits) return false;
  return platform::read_real_field(columns(text, 17, n + 20), n, f.seconds);
}

}  // namespace

void ST2TIM(int type, int /*nEpo*/, std::string_view text, double& epoch,
            std::optional<int> nDigit) {
  epoch = 0.0;
  if (platform::is_blank(text)) return;
  const long long required = required_length(type, nDigit, 1);
  if (static_cast<long long>(text.size()) < required) string_too_short("ST2TIM", "input", '.', text.size(), required);

  Fields f;
  if (!read_fields(type, text, nDigit, f)) cannot_extract(text);
  // Calendar ranges are not checked: a month 13 or an hour 25 goes into the sum.
  const double day = f.day + f.hour * (1.0 / 24.0) + f.minute * (1.0 / 1440.0) +
                     f.seconds * (1.0 / 86400.0);
  epoch = DJUL(f.year, f.month, day);
}

void ST2TIM(int type, int /*nEpo*/, std::string_view text, std::array<double, 2>& window,
            std::optional<int> nDigit) {
  window = {0.0, openEnd};
  if (platform::is_blank(text)) return;
  const long long required = required_length(type, nDigit, 2);
  if (static_cast<long long>(text.size()) < required) {
    string_too_short("ST2TIM", "input", type == 3 ? ':' : '.', text.size(), required);
  }
  if (type == 3 && nDigit && (*nDigit < 0 || *nDigit > maxDigits)) cannot_extract(text);

  // Width of one epoch field; the second starts two columns behind the first.
  long long width = 19;
  if (type == 3) width = nDigit ? *nDigit + 20 : static_cast<long long>(text.size()) / 2 - 1;
  for (int i = 0; i < 2; ++i) {
    const long long first = 1 + i * (width + 2);
    const std::string_view field = columns(text, first, first + width - 1);
    if (!platform::is_blank(field)) ST2TIM(type, 1, field, window[i], nDigit);
  }
  if (window[1] <= window[0]) {
    framework::write_lines(framework::m_tolk.lfnMsg,
                           {"", " ### SR ST2TIM: Illegal time interval:",
                            indent + std::string(text), ""});
  }
}

}  // namespace timeutil
