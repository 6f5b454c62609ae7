// Arc-split editing of the satellites of one two-day arc.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "orbit_check/protocol_extract.h"
#include "platform/file_update.h"

namespace orbit_check {

// Candidates for an arc split: numbers after MODSVN, RMS values in metres.
struct SplitList {
  int count = 0;
  std::vector<int> satNum;
  std::vector<double> rms;
};

// What the update of the satellite problem file did.
struct SplitUpdate {
  std::vector<int> candidates;  // after the editing, before known splits were dropped
  std::vector<int> dropped;     // candidates the file already splits at the split epoch
  int recordsWritten = 0;       // arc-split records placed in the file
  std::string crxName;          // satellite problem file as given; empty when none
  std::string crxPath;          // the file updated, its links followed; empty: none
  int writeStatus = 0;          // of the rewrite; 0: done and synced
  bool replaced = false;        // the new contents are in the file
  bool durable = true;          // false: written, but the sync of the folder failed
  bool noPlace = false;         // no place for the records: the file is not rewritten
  platform::Replacement::After after = platform::Replacement::After::None;  // what failed
                                                                            // after the replace
  std::string asideName;        // a version left beside the file (its name in the folder)
};

// How long an update waits while another run holds the satellite problem
// file: a wait beyond the notice time is reported, one beyond the limit ends
// the run with the file unchanged.
struct AsplitState {
  double lockNoticeSeconds = 10.0;
  double lockWaitSeconds = 600.0;
};
extern AsplitState s_asplit;

// Edits the satellites of the extract against their system's mean or median
// RMS (the rule of thresholds),
// drops candidates the satellite problem file already splits at splitEpoch,
// and adds an arc-split record per remaining candidate to that file.
// level: factor x mean RMS per system from the last editing pass, or factor x
// median RMS (metres); 0 for a system that is not edited.
// With update given, a failed rewrite is left to the caller
// (report_update_failure), and so is the end of a run whose records had no
// place in the file (update->noPlace; its error is written here); without,
// both end the run here.
void ASPLIT(double splitEpoch, const ProtocolExtract& ext, const ThresholdTable& thresholds,
            std::array<double, kMaxSys>& level, SplitList& split,
            SplitUpdate* update = nullptr);

// The editing alone (no satellite problem file): passes against the mean
// until no more candidates are found, or one pass against the median of the
// systems of kMinMedianSats satellites or more.
void edit_candidates(const ProtocolExtract& ext, const ThresholdTable& thresholds,
                     std::array<double, kMaxSys>& level, SplitList& split);

// Drops the candidates that the satellite problem list splits at splitEpoch.
void drop_known_splits(double splitEpoch, SplitList& split);

// Updates the satellite problem file crxName, one run at a time: under the
// file's lock, reads its current records, drops the candidates it already
// splits at splitEpoch, and inserts an arc-split record per remaining
// candidate before the first record position that is blank. The new contents
// replace the file only when completely written, and only while the file is
// the version read (else it is read again, a few times). A file that has
// every record already is only read (it may be read-only); one that cannot
// be updated safely ends the run with the file unchanged. Sets in update the
// records placed (0, and noPlace, when the file has no place for them: it is
// then not rewritten) and the outcome of the rewrite; a failed rewrite is
// left to report_update_failure.
void add_split_records(const std::string& crxName, double splitEpoch, SplitList& split,
                       SplitUpdate& update);

// Reports a failed rewrite of the satellite problem file (records written
// but not confirmed durable, or with the old version left beside the file,
// are named first) and ends the run; silent when the rewrite succeeded.
void report_update_failure(const SplitUpdate& update);

// The 52-column arc-split record of a satellite at the day of splitEpoch.
std::string split_record(int satNum, double splitEpoch);

}  // namespace orbit_check
