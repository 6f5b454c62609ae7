// The main program's guard against output files that would destroy an
// input file of the run or each other.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace orbit_check {

// The main program's output files as named in the input file (blank: not named).
struct OutputNames {
  std::string outFil;  // "OUTFIL", the summary file
  std::string weekFm;  // "WEEKFM", the week-format file
  std::string aSplit;  // "ASPLIT", the arc-split report
  std::string plotFil = {};  // "PLOTFIL", the picture of the run
  std::string jsonFil = {};  // "JSONFIL", the results of the run
};

// A clash of an output with an input or another output: its headline and the
// two lines that name the files, and the keyword of the (first) output.
struct OutputClash {
  std::string head;
  std::string first;
  std::string second;
  std::string keyWord;
  std::string otherKeyWord;  // the second output's keyword ("" for an input)
};

// Every clash, in the order below; nothing is written.
std::vector<OutputClash> find_output_clashes(const OutputNames& names, std::string_view inpFil,
                                             const std::vector<std::string>& protocols,
                                             std::string_view crxName);

// Ends the run (message on lfnMsg, EXITRC(2)) at the first clash, in this
// order: each named output ("OUTFIL", "WEEKFM", "ASPLIT", "PLOTFIL",
// "JSONFIL") against the input file inpFil (as given on the command line),
// the protocols in list order and the satellite problem file crxName
// (blank: none), an input clashing only when it exists and is the same file
// after variable substitution; then each pair of outputs, in that order, by
// their absolute names. Silent when nothing clashes.
void check_output_files(const OutputNames& names, std::string_view inpFil,
                        const std::vector<std::string>& protocols, std::string_view crxName);

}  // namespace orbit_check
