// Fixture of the satellite problem tests: writes a satellite problem file and
// an input file naming it under "SATCRUX", and loads the input file.
#pragma once
#include <string>
#include <vector>

#include "input/d_inpkey.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"
#include "support/test_support.h"
#include "timeutil/djul.h"

namespace satcrux_test {

// Six header lines as the writer of the file puts them.
inline std::string header() {
  return "SATELLITE PROBLEMS                                            01-MAY-13 08:00\n"
         "--------------------------------------------------------------------------\n"
         "\n"
         "  SAT   PROBLEM    ACTION           TIME WINDOW\n"
         "  NUM   KIND       KIND             FROM                 TO\n"
         "*****  *********  *********  *****  *******************  *******************\n";
}

// One record line: satellite, both kind codes, from and to as time strings.
inline std::string rec(int sat, int k1, int k2, const std::string& from = "",
                       const std::string& to = "") {
  return platform::fmt_i(sat, 5) + platform::fmt_i(k1, 10) + platform::fmt_i(k2, 10) +
         std::string(7, ' ') + platform::pad(from, 19) + "  " + to + "\n";
}

// MJD of 2013-05-01 plus h hours, m minutes, s seconds.
inline double may1(double h, double m = 0, double s = 0) {
  return timeutil::DJUL(2013, 5, 1.0 + h / 24.0 + m / 1440.0 + s / 86400.0);
}

inline bool starts_with(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

class SatCruxTest : public testsupport::ModuleTest {
 protected:
  // Writes body (header included by the caller) as file name and an input
  // file naming it under "SATCRUX" (extra: further keyword lines), then
  // loads the input file.
  std::string setup(const std::string& body, const std::string& extra = "",
                    const std::string& name = "SATCRUX.CRX") {
    testsupport::spit(tmp.file(name), body);
    load("SATCRUX 1 \"" + tmp.file(name) + "\"\n" + extra);
    return tmp.file(name);
  }
  void load(const std::string& inputText) {
    testsupport::spit(tmp.file("FITCHK.INP"), inputText);
    const auto r = testsupport::run_captured(
        tmp, [&] { input::READINPF(tmp.file("FITCHK.INP"), input::inpKey); });
    ASSERT_FALSE(r.exited) << r.console;
  }
};

}  // namespace satcrux_test
