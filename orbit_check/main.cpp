// Process entry: keeps the arguments, runs FITCHK, ends with its exit status.
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/write_line.h"
#include "history/history.h"
#include "input_check/check_input.h"
#include "orbit_check/command_line.h"
#include "orbit_check/fitchk.h"
#include "platform/process.h"
#include "platform/units.h"

namespace {

// An exception that escaped the program still ends the run through the
// common exit, with a message instead of an abort.
int unexpected_end(const std::exception& e) {
  try {
    if (dynamic_cast<const std::bad_alloc*>(&e)) {
      framework::ALCERR(1, "memory", {0}, "FITCHK");
    }
    framework::write_lines(framework::m_tolk.lfnMsg,
                           {"", std::string(" *** PG FITCHK: UNEXPECTED ERROR: ") + e.what(), ""});
    framework::EXITRC(2);
  } catch (const platform::ProcessExit& exit) {
    return exit.status;
  }
}

int run() {
  try {
    orbit_check::FITCHK();
  } catch (const platform::ProcessExit& e) {
    return e.status;
  } catch (const std::exception& e) {
    return unexpected_end(e);
  }
}

// fitchk --check INPUT-FILE: the findings on standard output.
int check(const std::vector<std::string>& args) {
  if (args.size() < 2) {
    std::fputs("fitchk: --check needs the name of the input file\n", stderr);
    return 2;
  }
  std::string name = args[1];
  for (std::size_t i = 2; i < args.size(); ++i) name += " " + args[i];
  std::string report;
  int status = 2;
  try {
    status = input_check::CHECK_INPUT(name, report);
  } catch (const platform::ProcessExit&) {
    report += "fitchk: the check ended early\n";
  } catch (const std::exception& e) {
    report += std::string("fitchk: the check ended early: ") + e.what() + "\n";
  }
  return std::fputs(report.c_str(), stdout) < 0 || std::fflush(stdout) != 0 ? 2 : status;
}

// fitchk --history [OPTIONS] RESULTS-FILE...: the view over time.
int show_history(const std::vector<std::string>& args) {
  std::string report, errors;
  int status = 1;
  try {
    status = history::HISTORY({args.begin() + 1, args.end()}, report, errors);
  } catch (const std::exception& e) {
    errors += std::string("fitchk --history: ended early: ") + e.what() + "\n";
  }
  const bool lost = std::fputs(report.c_str(), stdout) < 0 || std::fflush(stdout) != 0;
  std::fputs(errors.c_str(), stderr);
  return lost && status == 0 ? 1 : status;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (const auto text = orbit_check::information_text(args)) {
    return std::fputs(text->c_str(), stdout) < 0 || std::fflush(stdout) != 0 ? 1 : 0;
  }
  if (!args.empty() && args[0] == "--check") {
    platform::init_process();
    return check(args);
  }
  if (!args.empty() && args[0] == "--history") {
    platform::init_process();
    return show_history(args);
  }
  platform::init_process();
  if (const auto hint = orbit_check::call_hint(args)) {
    std::fputs(hint->c_str(), stderr);
    return 1;
  }
  platform::set_args(std::move(args));
  int status = run();
  platform::flush_all();
  if (platform::unit_write_failed(6)) {
    std::fputs("fitchk: the console output could not be written\n", stderr);
    status = 1;
  }
  return status;
}
