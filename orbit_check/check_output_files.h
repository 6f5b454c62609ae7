// The main program's guard against output files that would destroy an
// input file of the run or each other.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "framework/exitrc.h"
#include "input/chkfln.h"

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
  // The run's own standard output and error count as outputs where they go
  // to a regular file (another process, such as the input-file check, has
  // other ones).
  bool console = false;
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

// Every clash, in the order below; nothing is written. The first output of a
// clash is always one the input file names (keyWord).
std::vector<OutputClash> find_output_clashes(const OutputNames& names, std::string_view inpFil,
                                             const std::vector<std::string>& protocols,
                                             std::string_view crxName, bool systemOnly = false);

// Ends the run (message on lfnMsg, EXITRC(2)) at the first clash, in this
// order: each named output ("SYSOUT", "SYSERR", "OUTFIL", "WEEKFM",
// "ASPLIT", "PLOTFIL", "JSONFIL") against the input file inpFil (as given
// on the command line), the protocols in list order, the satellite problem
// file crxName (blank: none), "SYSINP" and "CONST" (read without messages;
// blank when they do not fit), an input clashing only
// when it exists and is the same file after variable substitution; then
// each pair of outputs, in that order, by their absolute names (links
// followed, also to a file that does not exist yet) or as one existing file
// (hard links). With names.console, the standard output and then the
// standard error of the process follow the outputs where they are regular
// files: an output naming that file (/dev/stdout, the log's own name) would
// overwrite the console lines or be overwritten by them. A device (such as
// /dev/null) clashes with nothing. With systemOnly, only clashes of
// "SYSOUT" or "SYSERR" count.
// Silent when nothing clashes.
void check_output_files(const OutputNames& names, std::string_view inpFil,
                        const std::vector<std::string>& protocols, std::string_view crxName,
                        bool systemOnly = false);

// The name of keyWord as GTFLNA gives it, read without messages and without
// ending the run: blank when the keyword is missing or the name does not
// fit (then added to refused, when given).
std::string quiet_name(const char* keyWord, std::vector<input::NameFault>* refused = nullptr);

// True when "ERRMRG" is set as the run's check box reads it (silently):
// the messages go to the program output.
bool messages_merged();

// The files of the run as named in the input file, read without messages
// and without ending the run.
struct RunFileNames {
  OutputNames outputs;                 // "SYSERR" blank when merged
  std::vector<std::string> protocols;  // of the list "RADIO_1" selects
  std::string crxName;                 // "SATCRUX"
  // Names that do not fit, in the order the run looks at them: "SYSOUT",
  // "SYSERR", the outputs above, the protocols, "SATCRUX", "SYSINP",
  // "CONST". Such a name is blank (or left out) above.
  std::vector<input::NameFault> refused;
};
RunFileNames run_file_names();

// Before the program output and the message file are opened: the first
// name of run_file_names that does not fit ends the run; then their names
// ("SYSOUT"; "SYSERR" unless merged) against the input file, the protocols,
// the satellite problem file, "SYSINP", "CONST" and the other outputs.
void check_system_outputs();

// The files the run reads - the input file, the protocols, the satellite
// problem file, "SYSINP" and "CONST" - each with its keyword and name as
// given ("input file" for the input file) and as opened.
std::vector<framework::ReadFile> run_read_files(const RunFileNames& f);

}  // namespace orbit_check
