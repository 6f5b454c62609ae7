// Command-line arguments and the end of the process.
#pragma once
#include <string>
#include <vector>

namespace platform {

// Thrown by end_process; caught only by main and by the test harness, which
// turn it into the process exit status.
struct ProcessExit {
  int status;
};

void set_args(std::vector<std::string> args);
const std::vector<std::string>& args();

// Flushes nothing itself: unwinds to main with the exit status.
[[noreturn]] void end_process(int status);

}  // namespace platform

namespace platform {

// Process start-up: a write beyond a file-size limit or into a closed pipe
// fails with a status instead of ending the process by a signal.
void init_process();

}  // namespace platform
