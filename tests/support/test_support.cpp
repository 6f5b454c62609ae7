#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/process.h"
#include "platform/units.h"

namespace testsupport {

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void spit(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "fitchk_test_XXXXXX").string();
  char* made = mkdtemp(tmpl.data());
  path_ = made ? made : tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

RunResult run_captured(const TempDir& dir, const std::function<void()>& fn) {
  RunResult r;
  const std::string console = dir.file(".console");
  platform::set_console_file(console);
  try {
    fn();
  } catch (const platform::ProcessExit& e) {
    r.exited = true;
    r.status = e.status;
  }
  platform::flush_all();
  platform::set_console_file("");
  r.console = slurp(console);
  std::filesystem::remove(console);
  return r;
}

void ModuleTest::SetUp() { reset_all_state(); }

void ModuleTest::TearDown() { platform::reset_units(); }

}  // namespace testsupport
