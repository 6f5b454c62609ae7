#include "orbit_check/command_line.h"

#include <algorithm>

#include "framework/d_pgmid.h"
#include "platform/units.h"

namespace orbit_check {
namespace {

constexpr const char* kUsage = R"(Usage: fitchk INPUT-FILE
       fitchk --check INPUT-FILE
       fitchk --history [OPTIONS] RESULTS-FILE...   (--history --help: its options)
       fitchk --help | -h | --version

FITCHK checks the orbit fits of TRJFIT. It reads TRJFIT's protocols and
writes a summary of each; for one protocol of a two-day arc it finds the
satellites whose RMS is far above their system's mean (or median) and
records arc splits for them in the satellite problem file; otherwise it
compares the largest RMS with a tolerance. Options and file names come from
the keyword input file INPUT-FILE (several arguments are joined with
blanks).

Keywords of the input file (values in double quotes):
  RADIO_1       "1": the protocols of JOBOUT; "0": those of OUTPUT
  JOBOUT        TRJFIT job outputs, one per line (at most 100)
  OUTPUT        TRJFIT program outputs, one per line (at most 100)
  OUTFIL        summary file (required)
  WEEKFM        week-format file (optional)
  ASPLIT        arc-split report; named: arc splitting, blank: tolerance check
  SATCRUX       satellite problem file: arc splits read, new ones added
  PLOTFIL       picture of the run, SVG (optional)
  JSONFIL       results of the run, JSON (optional)
  TOL_RMS       largest tolerated RMS in metres; 0: no check
  FAC_GPS       editing factor of GPS (x mean or median RMS); empty: not edited
  FAC_GLO       editing factor of GLONASS
  LIM_GPS       lower limit in metres of a GPS arc split
  LIM_GLO       lower limit in metres of a GLONASS arc split
  FAC_GAL, FAC_SBA, FAC_COM, FAC_QZS, LIM_GAL, LIM_SBA, LIM_COM, LIM_QZS
                the same for Galileo, SBAS, Compass and QZSS (read when given)
  EDIT_RULE     "MEAN" (default): factor times the mean RMS, edited again
                without the outliers; "MEDIAN": factor times the median RMS,
                systems of 3 satellites or more (read when given)
  TITLE         title of the run
  SYSOUT        program output (blank: the console)
  SYSERR        error messages; ERRMRG "1" merges them into SYSOUT
  ENVIRONMENT   variables of the file names, used as ${NAME}
  DELETE_FILES  files deleted at the end of the run (never one the run reads)

fitchk --check INPUT-FILE reads the input file as a run would, and the files
it names as far as needed, and writes nothing, creates nothing and deletes
nothing. On standard output it reports what a run would not do as meant, one
line each, "FILE:LINE: level: text" (error: the run would end with an error
or without the check the file asks for; warning: the run goes on, probably
not as meant; note: the files opened and the check the run makes), then the
counts of errors and warnings. Exit status 0 without errors, 1 with errors,
2 when the input file cannot be read.

fitchk --history [OPTIONS] RESULTS-FILE... shows the orbit quality over days,
weeks and years from the results files (JSONFIL) of many runs: findings on
standard output, and on request a picture (--plot FILE) and a table (--table
FILE). fitchk --history --help describes it.

Exit status: 0 when the run made the check it was asked for and wrote no
error message; 1 when it ends with an error (a fatal error, an error
message such as a wrong option value, the largest RMS above TOL_RMS, or a
check asked for that could not be made).

Manual: README.md in share/doc/fitchk of the installation; an example input
file with a comment on every keyword: share/doc/fitchk/examples/FITCHK.INP.
)";

}  // namespace

std::optional<std::string> information_text(const std::vector<std::string>& args) {
  if (args.size() != 1) return std::nullopt;
  if (args[0] == "--help" || args[0] == "-h") return std::string(kUsage);
  if (args[0] == "--version") {
    return "fitchk (FITCHK, Morvane GNSS Software) " + std::string(framework::kSuiteVersion) + "\n";
  }
  return std::nullopt;
}

std::optional<std::string> call_hint(const std::vector<std::string>& args) {
  const auto option = [](const std::string& a) { return !a.empty() && a[0] == '-'; };
  if (std::none_of(args.begin(), args.end(), option)) return std::nullopt;
  std::string joined, rest;
  for (const std::string& a : args) {
    joined += (joined.empty() ? "" : " ") + a;
    if (a != "--check") rest += (rest.empty() ? "" : " ") + a;
  }
  bool exists = false;
  int unit = 0;
  const std::size_t start = joined.find_first_not_of(' ');
  const std::string name = start == std::string::npos ? std::string() : joined.substr(start);
  if (platform::inquire_file(name, exists, unit) == 0 && exists) return std::nullopt;
  std::string text = "fitchk: no input file \"" + name + "\"";
  if (args.size() > 1) text += " (the arguments are joined with blanks into one name)";
  text += "\n";
  if (args.size() > 1 && std::find(args.begin() + 1, args.end(), "--check") != args.end()) {
    text += "To check the input file, write the option first: fitchk --check " + rest + "\n";
  }
  return text +
         "Usage: fitchk INPUT-FILE\n"
         "       fitchk --check INPUT-FILE\n"
         "       fitchk --help | -h | --version\n";
}

}  // namespace orbit_check
