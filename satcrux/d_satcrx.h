// The satellite problem file: its records held in a module list, and the
// queries that return one kind of event each.
//
// File layout: 6 header lines, then one record per line up to the first
// blank line: satellite number (columns 1-5), first and second kind code
// (6-15, 16-25), time window as two type-1 time strings (33-72; a blank epoch
// is an open end). Kinds: (0,any) manoeuvre; (4,0) arc split; (4,2) arc split
// that is also a bad observation interval; (4,4) pulse; (4,5) pulse deletion
// interval; any other first code a bad observation interval.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace satcrux {

// One problem record.
struct t_crux {
  int satNum = 0;                             // 0 is not a valid record
  std::array<int, 2> kind{0, 0};              // kind and sub-kind
  std::array<double, 2> window{0.0, 1.0E20};  // start and end, MJD
};

// A line before the end of the records (the first line from line 7 on whose
// columns 1-6 are blank) at which the reader stops: its number in the file
// (1-based; 0: no such line, or a file whose records have no end) and why it
// is no record.
struct ReadStop {
  int line = 0;
  std::string why;
};

// A problem list. crxLst holds the nCrx records in use (crxLst[i-1] is record
// i); its capacity is the records of the file plus 10 spare entries.
struct t_satcrux {
  std::string filNam;  // file the list was read from, without trailing blanks
  int nCrx = 0;
  std::vector<t_crux> crxLst;
  ReadStop stop;       // where READ_CRUX stopped before the end of the records
};

// Module state of d_satcrx.
struct SatCrx {
  t_satcrux satCrux;      // the list read from the file
  t_satcrux crxOrig;      // filled only by CRX_MRGSOL
  bool firstCall = true;  // the queries read the file while it is set
};
extern SatCrx d_satcrx;

// Sets list to empty: blank name, no records.
void INIT_SATCRUX(t_satcrux& list);

// Reads list afresh from the file named by "SATCRUX", or from fileName when
// it is given and not blank, and clears the first-call flag. No file name:
// an empty list, no message. A file that cannot be opened or a failed
// allocation ends the run. Reading ends quietly at a line that cannot be
// read or holds satellite 0; list.stop names that line when it comes before
// the end of the records.
void READ_CRUX(t_satcrux& list, std::optional<std::string_view> fileName = std::nullopt);

// Why the reader takes a line (its first 255 columns) for no record: a field
// of columns 1-25 that holds no integer, or satellite number 0 (columns 1-5
// blank included); "" when it reads the line as a record.
std::string record_end_reason(std::string_view line);

// Where the reader stops in a file of these lines before the end of its
// records; line 0 when it reads every record.
ReadStop read_stop(const std::vector<std::string>& lines);

// Number of non-blank lines after nHead header lines up to the first blank
// line, of the file named by keyword name or else of the file name itself
// (0 when neither exists). *trailing, when asked for, counts the lines from
// the first blank line (included) to the end. An open failure ends the run.
int LINCOUNT(std::string_view name, int nHead, int* trailing = nullptr);

// The queries below clear their outputs first and return the count. A count
// above the maximum ends the run with the DIMTST message before anything is
// stored past it. The queries without a file name read the file named by
// "SATCRUX" on their first use.

// Bad observation intervals of file filNam (first code not 0, kinds (4,x)
// only as (4,2)): satellites, both kind codes and windows. A blank filNam
// gives 0 without reading; another name than the list's reads the list anew.
int GTSATB(int maxbad, std::string_view filNam, std::vector<int>& satNum, std::vector<int>& kind1,
           std::vector<int>& kind2, std::vector<std::array<double, 2>>& window);

// Manoeuvres (first code 0): satellites and epochs. Two of one satellite
// less than 0.5 s apart end the run with the duplicate message.
int GTSATM(int maxman, std::vector<int>& satNum, std::vector<double>& epoch);

// Arc-split events (kinds (4,0) and (4,2)): satellites and epochs.
int GTSATS(int maxspl, std::vector<int>& satNum, std::vector<double>& epoch);

// Pulses (kind (4,4)): satellites and epochs.
int GTSATP(int maxpls, std::vector<int>& satNum, std::vector<double>& epoch);

// Pulse deletion intervals (kind (4,5)) of file filNam: satellites and
// windows; file name handled as by GTSATB.
int GTSATD(int maxDel, std::string_view filNam, std::vector<int>& satNum,
           std::vector<std::array<double, 2>>& window);

// Manoeuvres of crxOrig (first code 0), checked for duplicates as by GTSATM.
int GTSATM2(int maxman, std::vector<int>& satNum, std::vector<double>& epoch);

// Rereads satCrux and moves each manoeuvre that lies in a (3,2) window of its
// satellite onto the boundaries inside that window (1.1 s tolerance): it
// becomes kind (4,2); a move to an earlier epoch also keeps a manoeuvre copy
// at the boundary in satCrux and in crxOrig.
void CRX_MRGSOL(const std::vector<double>& boundary);

// Satellite number with 51-99 of its hundred mapped to 1-49 (n - 50);
// numbers from 900 on are kept.
int MODSVN(int satNum);

}  // namespace satcrux
