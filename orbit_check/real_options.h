// The real options of FITCHK: the tolerance and the editing thresholds.
#pragma once
#include <vector>

namespace orbit_check {

enum class OptionUse {
  Tolerance,  // "TOL_RMS"
  Factor,     // an editing factor of a system
  Limit,      // a lower limit of a system
};

struct RealOption {
  const char* keyWord;
  const char* descr;  // given to the checker (a "MSG_" description wins)
  OptionUse use;
  int sys = 0;             // Factor, Limit: the system, 0-based
  bool ifPresent = false;  // read only when the input file has it
  const char* zero = "";   // what a value of 0 means
  // A factor must be > 0; the others >= 0.
  bool positive() const { return use == OptionUse::Factor; }
};

// Every real option, in the order the run reads them.
const std::vector<RealOption>& real_options();

// The option's value through READKEYS and CKOPTR (mode 1, an empty value
// 0, the bound of positive()); a bad or missing value is reported and
// counted in irCode.
double read_real_option(const RealOption& option, int& irCode);

}  // namespace orbit_check
