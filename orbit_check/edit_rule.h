// The rule of the editing ("EDIT_RULE") and which systems it can edit.
#pragma once
#include <array>

#include "orbit_check/protocol_extract.h"

namespace orbit_check {

// Fewest satellites a system needs for the median rule.
constexpr int kMinMedianSats = 3;

// What an RMS of exactly 0 counts as in the statistics of the editing (m).
constexpr double kZeroRms = 0.01;

// What the editing makes of one system.
struct SystemEditing {
  int count = 0;          // satellites of the system in the sums of the editing
  bool editable = false;  // edited (factor not 0), and a satellite of it can be a
                          // candidate at all
  double median = 0.0;    // median RMS (m) of a system the median rule edits
};

// "EDIT_RULE" when the input file has it: "MEAN" (also when empty) or
// "MEDIAN". Another value is reported by CKOPTC, counted in irCode, and the
// mean rule is taken.
EditRule read_edit_rule(int& irCode);

// With the mean rule, true when no satellite of a system of n satellites can
// reach factor x the system's mean RMS, which holds its own RMS: n <= factor
// (one satellite with factor 1 always reaches it).
bool mean_rule_blind(int n, double factor);

// Median RMS (m) of each system of kMinMedianSats satellites or more (the
// middle value, or the mean of the two middle values), an RMS of 0 taken as
// kZeroRms; 0 for the other systems. Satellites as system_editing counts them.
std::array<double, kMaxSys> system_medians(const ProtocolExtract& ext);

// Per system: its satellites (numbers 0-599 of rows 1..nSat, as the sums of
// the editing count them) and whether the rule of thresholds can edit it.
std::array<SystemEditing, kMaxSys> system_editing(const ProtocolExtract& ext,
                                                  const ThresholdTable& thresholds);

}  // namespace orbit_check
