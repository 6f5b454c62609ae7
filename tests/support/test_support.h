// Shared test helpers: a fixture that resets every module, temporary
// folders, and in-process runs that catch the end of the process.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/reset_all_state.h"

namespace testsupport {

// Reads a whole file ("" when missing).
std::string slurp(const std::string& path);

// Writes a whole file.
void spit(const std::string& path, const std::string& text);

// A fresh temporary folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Result of running code that may end the process.
struct RunResult {
  bool exited = false;  // the code ended through the common exit
  int status = 0;       // process exit status when exited
  std::string console;  // what unit 6 received
};

// Runs fn with the console (units 5 and 6) captured into a file of dir.
RunResult run_captured(const TempDir& dir, const std::function<void()>& fn);

// Base fixture: resets all state before each test and works in a temp folder.
class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  TempDir tmp;
};

}  // namespace testsupport
