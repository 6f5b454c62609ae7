// Writes an input file into a test's temporary folder and loads it into the
// keyword store.
#pragma once
#include <string>

#include "input/d_inpkey.h"
#include "support/test_support.h"

namespace testsupport {

// Returns the file's name as the store holds it.
inline std::string load_input(const TempDir& dir, const std::string& text,
                              const std::string& name = "test.inp") {
  const std::string path = dir.file(name);
  spit(path, text);
  input::INIT_INPKEY(input::inpKey);
  input::READINPF(path, input::inpKey);
  return path;
}

}  // namespace testsupport
