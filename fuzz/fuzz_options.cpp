// The option checkers on arbitrary values, limits and optional arguments.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "input/ckoptb.h"
#include "input/ckoptc.h"
#include "input/ckopti.h"
#include "input/ckoptn.h"
#include "input/ckoptr.h"

namespace {

template <class T>
std::optional<T> maybe(FuzzedDataProvider& in, T value) {
  return in.ConsumeBool() ? std::optional<T>(value) : std::nullopt;
}

std::optional<double> maybe_real(FuzzedDataProvider& in) {
  return maybe(in, in.ConsumeFloatingPoint<double>());
}

std::optional<int> maybe_int(FuzzedDataProvider& in) {
  return maybe(in, in.ConsumeIntegral<int>());
}

std::optional<std::string_view> maybe_text(FuzzedDataProvider& in, const std::string& text) {
  return in.ConsumeBool() ? std::optional<std::string_view>(text) : std::nullopt;
}

// Where the checkers are told the option stands and what it is.
struct Place {
  std::string descr, column, entry;
  int irc = 0;
};

void check_reals(FuzzedDataProvider& in, int mode, const std::vector<std::string>& values,
                 const Place& p) {
  int irCode = 0, nError = 0, nOk = 0, nResult = 0;
  double result1 = 0.0;
  std::vector<double> result(in.ConsumeIntegralInRange<std::size_t>(0, 12));
  const auto empty = maybe_real(in), ge = maybe_real(in), le = maybe_real(in),
             gt = maybe_real(in), lt = maybe_real(in), init = maybe_real(in),
             error = maybe_real(in);
  const auto column = maybe_text(in, p.column), entry = maybe_text(in, p.entry);
  const auto lineNr = maybe_int(in), maxVal = maybe_int(in);
  fuzzsupport::run([&] {
    input::CKOPTR(mode, "KEY", values, "FUZZ", p.descr, p.irc, irCode, empty, ge, le, gt, lt,
                  column, lineNr, entry, maxVal, init, error, &nError, &nOk, &result1, &nResult,
                  &result);
  });
}

void check_ints(FuzzedDataProvider& in, int mode, const std::vector<std::string>& values,
                const Place& p) {
  int irCode = 0, nError = 0, nOk = 0, nResult = 0, result1 = 0;
  std::vector<int> result(in.ConsumeIntegralInRange<std::size_t>(0, 12));
  const auto empty = maybe_int(in), ge = maybe_int(in), le = maybe_int(in),
             init = maybe_int(in), error = maybe_int(in), lineNr = maybe_int(in),
             maxVal = maybe_int(in);
  const auto column = maybe_text(in, p.column), entry = maybe_text(in, p.entry);
  fuzzsupport::run([&] {
    input::CKOPTI(mode, "KEY", values, "FUZZ", p.descr, p.irc, irCode, empty, ge, le, column,
                  lineNr, entry, maxVal, init, error, &nError, &nOk, &result1, &nResult, &result);
  });
  int nItems = 0;
  const int maxItems = in.ConsumeIntegral<int>();
  fuzzsupport::run([&] {
    input::CKOPTN(mode, "KEY", values, nItems, "FUZZ", p.descr, irCode, maxItems);
  });
}

void check_buttons(FuzzedDataProvider& in, int mode, const std::vector<std::string>& buttons,
                   const Place& p) {
  int irCode = 0, iSelect = 0;
  bool selected = false;
  const auto init = maybe_int(in), error = maybe_int(in), lineNr = maybe_int(in);
  const auto column = maybe_text(in, p.column), entry = maybe_text(in, p.entry);
  fuzzsupport::run([&] {
    input::CKOPTB(mode, buttons, "FUZZ", p.descr, irCode, column, lineNr, entry, init, error,
                  &iSelect, &selected);
  });
}

void check_choice(FuzzedDataProvider& in, int mode, const std::vector<std::string>& values,
                  const Place& p) {
  int irCode = 0;
  const std::vector<std::string_view> allowed = {"MEAN", "MEDIAN"};
  const int empty = in.ConsumeIntegral<int>(), error = in.ConsumeIntegral<int>();
  fuzzsupport::run([&] {
    input::CKOPTC(mode, "KEY", values, "FUZZ", p.descr, p.irc, irCode, allowed, empty, error);
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzsupport::fresh_state();
  FuzzedDataProvider in(data, size);
  const int mode = in.ConsumeIntegralInRange(-1, 2);
  Place p;
  p.irc = in.ConsumeIntegralInRange(0, 1);
  p.descr = in.ConsumeRandomLengthString(80);
  p.column = in.ConsumeRandomLengthString(40);
  p.entry = in.ConsumeRandomLengthString(40);
  const std::string msg = in.ConsumeRandomLengthString(80);
  std::vector<std::string> values;
  const std::size_t nValues = in.ConsumeIntegralInRange<std::size_t>(0, 8);
  for (std::size_t i = 0; i < nValues; ++i) values.push_back(in.ConsumeRandomLengthString(300));
  // The buttons are the first values' keywords, each holding the next value.
  std::vector<std::pair<std::string, std::vector<std::string>>> keys = {{"KEY", values},
                                                                        {"MSG_KEY", {msg}}};
  std::vector<std::string> buttons;
  for (std::size_t i = 0; i < values.size() && i < 4; ++i) {
    buttons.push_back("BTN" + std::to_string(i));
    keys.push_back({buttons.back(), {values[i]}});
    keys.push_back({"MSG_" + buttons.back(), {msg}});
  }
  if (in.ConsumeBool()) buttons.push_back("NO_SUCH_BUTTON");
  fuzzsupport::set_keywords(keys);
  check_reals(in, mode, values, p);
  check_ints(in, mode, values, p);
  check_buttons(in, mode, buttons, p);
  check_choice(in, mode, values, p);
  return 0;
}
