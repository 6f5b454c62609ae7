// Process entry: keeps the arguments, runs FITCHK, ends with its exit status.
#include <string>
#include <vector>

#include "orbit_check/fitchk.h"
#include "platform/process.h"
#include "platform/units.h"

int main(int argc, char** argv) {
  platform::init_process();
  platform::set_args(std::vector<std::string>(argv + 1, argv + argc));
  int status = 0;
  try {
    orbit_check::FITCHK();
  } catch (const platform::ProcessExit& e) {
    status = e.status;
  }
  platform::flush_all();
  return status;
}
