#include "platform/process.h"

namespace platform {
namespace {

std::vector<std::string>& stored_args() {
  static std::vector<std::string> a;
  return a;
}

}  // namespace

void set_args(std::vector<std::string> args) { stored_args() = std::move(args); }

const std::vector<std::string>& args() { return stored_args(); }

void end_process(int status) { throw ProcessExit{status}; }

}  // namespace platform

#include <csignal>

namespace platform {

void init_process() {
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace platform
