// Parses arbitrary time strings with every format type and digit count, and
// writes arbitrary epochs and windows; an epoch of the years 1900-2100 must
// come back from its type-1 string to the second.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "fuzz/fuzz_support.h"
#include "timeutil/st2tim.h"
#include "timeutil/timst2.h"

namespace {

std::optional<int> digits(FuzzedDataProvider& in) {
  if (!in.ConsumeBool()) return std::nullopt;
  return in.ConsumeIntegralInRange(-3, 100);
}

void parse(int type, std::optional<int> nDigit, const std::string& text) {
  fuzzsupport::run([&] {
    double epoch = 0.0;
    timeutil::ST2TIM(type, 1, text, epoch, nDigit);
  });
  fuzzsupport::run([&] {
    std::array<double, 2> window{};
    timeutil::ST2TIM(type, 2, text, window, nDigit);
  });
}

void write(int type, std::optional<int> nDigit, double epoch, double end, std::size_t length) {
  fuzzsupport::run([&] {
    std::string text(length, ' ');
    timeutil::TIMST2(type, 1, epoch, text, nDigit);
  });
  fuzzsupport::run([&] {
    std::string text(2 * length + 2, ' ');
    timeutil::TIMST2(type, 2, std::array<double, 2>{epoch, end}, text, nDigit);
  });
}

// 1900-01-01 to 2100-01-01: the type-1 string read back is the epoch to the
// nearest second, give or take the writer's rounding offset of 8.64 ms.
void round_trip(double epoch) {
  if (!(epoch >= 15020.0 && epoch < 88069.0)) return;
  std::string text(19, ' ');
  double back = 0.0;
  const bool done = fuzzsupport::run([&] {
    timeutil::TIMST2(1, 1, epoch, text);
    timeutil::ST2TIM(1, 1, text, back);
  });
  if (done && std::abs(back - epoch) * 86400.0 <= 0.5 + 0.00864 + 1e-4) return;
  std::fprintf(stderr, "epoch %.10f written \"%s\" read back %.10f\n", epoch, text.c_str(), back);
  fuzzsupport::require(false, "type-1 time string reads back as its epoch");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzsupport::fresh_state();
  FuzzedDataProvider in(data, size);
  const int type = in.ConsumeIntegralInRange(0, 4);
  const std::optional<int> nDigit = digits(in);
  const double epoch = in.ConsumeFloatingPoint<double>();
  const double end = in.ConsumeFloatingPoint<double>();
  const double plausible = in.ConsumeFloatingPointInRange<double>(15020.0, 88069.0);
  const std::size_t length = in.ConsumeIntegralInRange<std::size_t>(0, 140);
  const std::string text = in.ConsumeRemainingBytesAsString();
  parse(type, nDigit, text);
  write(type, nDigit, epoch, end, length);
  write(type, nDigit, plausible, plausible + 1.0, length);
  round_trip(plausible);
  return 0;
}
