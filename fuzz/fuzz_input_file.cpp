// Loads arbitrary bytes as the input file and asks the store everything the
// program asks it: every keyword, the list of all, file names, file lists and
// variable references.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "input/d_inpkey.h"
#include "input/descrp.h"
#include "input/gtfile.h"
#include "input/gtflna.h"
#include "input/rplenvar.h"
#include "platform/process.h"

namespace {

void query_store() {
  std::vector<std::string> names, values;
  int irc = 0;
  input::READKEYS("*", names, irc);
  fuzzsupport::require(irc == 0 && names.size() == input::inpKey.keys.size(), "READKEYS *");
  input::READKEYS(" ", values, irc);
  for (const std::string& name : names) {
    input::READKEYS(name, values, irc);
    // A negative count stores no value at all.
    fuzzsupport::require(irc == 0, "READKEYS of a listed keyword");
    fuzzsupport::require(input::TSTKEY(name), "TSTKEY of a listed keyword");
    std::string text;
    input::DESCRP(name, 45, text);
    int ircName = 0;
    input::GTFLNA(0, name, text, ircName);
    for (std::string v : values) input::RPLENVAR(1, v);
  }
  if (input::TSTKEY("MISSING_KEYWORD")) return;
  input::READKEYS("MISSING_KEYWORD", values, irc);
  fuzzsupport::require(irc == 1 && values.size() == 1, "READKEYS of a missing keyword");
}

void list_files() {
  int nFil = 0;
  std::vector<std::vector<std::string>> files;
  input::GTFILE("JOBOUT", 3, 100, nFil, files);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzsupport::fresh_state();
  const std::string path =
      fuzzsupport::write_file("FUZZ.INP", {reinterpret_cast<const char*>(data), size});
  platform::set_args({path});
  fuzzsupport::run([] {
    input::INIT_INPKEY(input::inpKey);
    input::READINPF(" ", input::inpKey);
    query_store();
    list_files();
  });
  return 0;
}
