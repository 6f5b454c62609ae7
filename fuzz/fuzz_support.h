// Shared pieces of the fuzz targets: a private folder for the files an input
// becomes, a fresh program state per input, and a keyword store built in
// memory.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/process.h"

namespace fuzzsupport {

// Path of name in the target's own temporary folder (made on first use,
// removed at exit).
std::string path_of(std::string_view name);

// Writes bytes to name in that folder; returns its path.
std::string write_file(std::string_view name, std::string_view bytes);

// Every module back to its start, the console into /dev/null (it is only
// written, never removed).
void fresh_state();

// A loaded keyword store holding exactly these keywords and values.
void set_keywords(const std::vector<std::pair<std::string, std::vector<std::string>>>& keys);

// Runs fn; the end of the run (ProcessExit) is an ordinary outcome.
// Returns false when the run ended.
template <class Fn>
bool run(Fn fn) {
  try {
    fn();
  } catch (const platform::ProcessExit&) {
    return false;
  }
  return true;
}

// Stops the fuzzer with a message when a property does not hold.
void require(bool ok, const char* what);

}  // namespace fuzzsupport
