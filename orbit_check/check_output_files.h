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
  std::string sysOut = {};   // "SYSOUT", the program output
  std::string sysErr = {};   // "SYSERR", the message file (blank when merged)
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
                                             std::string_view crxName, bool systemOnly = false);

// Ends the run (message on lfnMsg, EXITRC(2)) at the first clash, in this
// order: each named output ("SYSOUT", "SYSERR", "OUTFIL", "WEEKFM",
// "ASPLIT", "PLOTFIL", "JSONFIL") against the input file inpFil (as given
// on the command line), the protocols in list order, the satellite problem
// file crxName (blank: none), "SYSINP" and "CONST", an input clashing only
// when it exists and is the same file after variable substitution; then
// each pair of outputs, in that order, by their absolute names or as one
// existing file (hard links). A device (such as /dev/null) clashes with
// nothing. With systemOnly, only clashes of "SYSOUT" or "SYSERR" count.
// Silent when nothing clashes.
void check_output_files(const OutputNames& names, std::string_view inpFil,
                        const std::vector<std::string>& protocols, std::string_view crxName,
                        bool systemOnly = false);

// Before the program output and the message file are opened: their names
// ("SYSOUT"; "SYSERR" unless merged) against the input file, the protocols,
// the satellite problem file, "SYSINP", "CONST" and the other outputs, read
// from the input file without messages; a name too long ends the run too.
void check_system_outputs();

}  // namespace orbit_check
