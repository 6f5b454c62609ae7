// What a run did, collected as it goes, for the picture ("PLOTFIL") and the
// results ("JSONFIL") that are written at its end.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/m_msglog.h"
#include "orbit_check/asplit.h"
#include "orbit_check/edit_rule.h"
#include "orbit_check/protocol_extract.h"

namespace results {

// The check's own types and tables that the record keeps.
using orbit_check::kMaxEcl;
using orbit_check::kMaxSat;
using orbit_check::EditRule;
using orbit_check::kEditRuleName;
using orbit_check::kMaxSys;
using orbit_check::kSystemLetter;
using orbit_check::kSystemName;
using orbit_check::ProtocolExtract;
using orbit_check::sat_system;
using orbit_check::SplitList;
using orbit_check::SplitUpdate;
using orbit_check::ThresholdTable;

// One protocol of the run.
struct ProtocolRecord {
  std::string fileName;                // as listed in the input file
  std::string filePath;                // as opened: variables replaced, absolute
  ProtocolExtract extract;             // its window as rounded; nSat: the rows read
  int statedCount = 0;                 // the satellite count the protocol states
  std::array<double, 2> windowRead{};  // the arc window as the reader left it
  long long doyStart = 0;              // days of year of the rounded window
  long long doyEnd = 0;
  long long middleDay = 0;
  double rmsMax = 0.0;                 // largest RMS (m) and its satellite
  int satMax = 0;
  bool complete = true;                // the reader reached the end of what it reads
  bool hasWindow = true;               // the protocol gave the arc's time window
};

// The arc-split case.
struct SplitRecord {
  double splitEpoch = 0.0;
  std::array<double, kMaxSys> level{};  // editing level per system (m)
  SplitList split;                      // satellites given an arc-split record
  SplitUpdate update;
  std::string reportName;               // the "ASPLIT" file as given
  std::string reportPath;               // and as opened
  std::string crxPath;                  // the satellite problem file as opened; empty: none
};

// The tolerance check, made when no arc-split report is named.
struct ToleranceRecord {
  double tolerance = 0.0;  // "TOL_RMS" (m); 0: no check
  double rmsMax = 0.0;     // largest RMS of the last protocol and its satellite
  int satMax = 0;
  bool exceeded = false;
  bool rmsRead = true;     // false: no protocol, or the last gave no RMS value
};

struct RunRecord {
  std::string plotName;  // "PLOTFIL" and "JSONFIL" as given; empty: not written
  std::string jsonName;
  std::string plotPath;  // the same as opened, variables replaced
  std::string jsonPath;
  bool filesWritten = false;  // written once at the exit
  std::string title;      // "TITLE"
  std::string inputFile;  // the input file as named on the command line
  std::string inputPath;  // and as an absolute name
  std::string runStart;   // local date and time of the start, ISO 8601 with offset
  bool optionsRead = false;
  double tolRms = 0.0;
  ThresholdTable thresholds;
  std::vector<ProtocolRecord> protocols;
  std::optional<SplitRecord> split;
  // The arc-split case: per system its satellites in the editing and whether
  // the rule could edit it.
  std::array<orbit_check::SystemEditing, kMaxSys> editing{};
  std::optional<ToleranceRecord> tolerance;
  bool noCheck = false;  // the check asked for could not be made
};
extern RunRecord d_runrec;

// The file name of an optional keyword, read only when the input file has
// it (so no message when it has not); empty when not named or blank.
std::string optional_file_name(const char* keyWord);

// Keeps the names of the picture and the results (empty: not written) and,
// when either is named, registers the exit hook that writes them.
void start_run_record(const std::string& plotName, const std::string& jsonName);

void record_options(double tolRms, const ThresholdTable& thresholds);

// One protocol after its summary: the extract (window rounded), the window
// as read, the largest RMS and its satellite, the reader's return code and
// the rows it read of the satellite table (only these are kept: the entries
// after them hold no satellite) and whether it gave the arc's window; kept
// only when the picture or the results are named.
void record_protocol(std::string_view fileName, const ProtocolExtract& extract,
                     const std::array<double, 2>& windowRead, double rmsMax, int satMax,
                     int readerIrc, int rowsRead, bool hasWindow = true);

void record_split(double splitEpoch, const std::array<double, kMaxSys>& level,
                  const SplitList& split, const SplitUpdate& update,
                  std::string_view reportName);

void record_editing(const std::array<orbit_check::SystemEditing, kMaxSys>& editing);

// rmsRead: the last protocol gave RMS values (false also without a protocol).
void record_tolerance(double tolerance, double rmsMax, int satMax, bool rmsRead = true);

// The check the run was asked for (arc splitting or the tolerance check)
// could not be made: the verdict says so, also after an error.
void record_no_check();

// The exit hook: replaces the named files with the picture and the results
// of the run with return code ircode, and returns the return code after
// them. A failed write is reported (the WRTERR message) and gives return
// code 2; the other file is still written and tells of it. Called again, it
// writes them anew with the final return code.
int write_run_files(int ircode);

// What a run came to.
enum class Verdict {
  SatellitesSplit,    // arc-split case, at least one satellite split
  NoneSplit,          // arc-split case, no satellite split
  ToleranceExceeded,
  ToleranceKept,
  NoCheck,            // no check was made (also after an error when it could not be)
  Error,              // ended with an error before a verdict
};

Verdict run_verdict(const RunRecord& run, int ircode);

// The verdict as one sentence for a person; after an error with the last
// error line of the run's messages.
std::string verdict_text(const RunRecord& run, int ircode,
                         const framework::Messages& messages = {});

// Date and time of an epoch, "YYYY-MM-DDTHH:MM:SS" (seconds rounded); empty
// for epochs outside the years 1-9999.
std::string iso_epoch(double mjd);

// A file name as a run opens it: variables replaced, absolute; "" for a
// blank name.
std::string opened_path(std::string_view fileName);

// Process exit status of a run with return code ircode.
constexpr int exit_status(int ircode) { return ircode == 0 || ircode == 1 ? 0 : 1; }

// RMS (mm, rounded) of eclipsing satellite j: its last entry in the
// satellite table; none when the table does not hold it.
std::optional<int> eclipse_rms_mm(const ProtocolExtract& extract, int j);

}  // namespace results
