#include "fuzz/fuzz_support.h"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "input/d_inpkey.h"
#include "platform/units.h"
#include "support/reset_all_state.h"

namespace fuzzsupport {
namespace {

std::string& folder() {
  static std::string dir;
  return dir;
}

void remove_folder() {
  std::error_code ec;
  if (!folder().empty()) std::filesystem::remove_all(folder(), ec);
}

}  // namespace

std::string path_of(std::string_view name) {
  if (folder().empty()) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "fitchk_fuzz_XXXXXX").string();
    if (!mkdtemp(tmpl.data())) {
      std::perror("mkdtemp");
      std::abort();
    }
    folder() = tmpl;
    std::atexit(remove_folder);
  }
  return folder() + "/" + std::string(name);
}

std::string write_file(std::string_view name, std::string_view bytes) {
  const std::string path = path_of(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

void fresh_state() {
  testsupport::reset_all_state();
  platform::set_console_file("/dev/null");
}

void set_keywords(const std::vector<std::pair<std::string, std::vector<std::string>>>& keys) {
  input::inpKey = input::t_inpkey{};
  input::inpKey.inpFil = path_of("FUZZ.INP");
  for (const auto& [name, values] : keys) {
    framework::t_key key;
    key.name = name;
    key.value = values.empty() ? std::vector<std::string>{""} : values;
    key.hasValue = true;
    input::inpKey.keys.push_back(key);
  }
  input::inpKey.nKeys = static_cast<int>(input::inpKey.keys.size());
  input::inpKey.hasKeys = true;
  input::inpKey.status = 2;
}

void require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz property violated: %s\n", what);
  std::abort();
}

}  // namespace fuzzsupport
