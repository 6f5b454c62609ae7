// Reports of the arc-split case, written by the main program.
#pragma once
#include <array>
#include <string>

#include "orbit_check/asplit.h"
#include "orbit_check/edit_rule.h"
#include "orbit_check/protocol_extract.h"

namespace orbit_check {

// Warns, on the error messages, of each system that is edited (factor not 0)
// and has satellites, but whose satellites the rule cannot split: the mean
// rule with no more satellites than the factor, the median rule with fewer
// than kMinMedianSats.
void warn_not_editable(const std::array<SystemEditing, kMaxSys>& editing,
                       const ThresholdTable& thresholds);

// Program output: the system means (medians) and levels, then every
// satellite with a star for each split-list entry of its number; when the
// list was not recorded (no place in the satellite problem file), a line
// that says so.
void print_split_tables(const ProtocolExtract& ext, const ThresholdTable& thresholds,
                        const std::array<double, kMaxSys>& level, const SplitList& split,
                        bool recorded = true);

// The arc-split report (without its closing blank line) on unit lfn; when
// the split list was not recorded, its third line says so instead of
// "Arc splitting for".
void write_split_report(int lfn, const ThresholdTable& thresholds,
                        const std::array<double, kMaxSys>& level, const SplitList& split,
                        double splitEpoch, const std::string& crxName,
                        const std::string& protocolName, bool recorded = true);

}  // namespace orbit_check
