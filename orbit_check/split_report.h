// Reports of the arc-split case, written by the main program.
#pragma once
#include <array>
#include <string>

#include "orbit_check/asplit.h"
#include "orbit_check/protocol_extract.h"

namespace orbit_check {

// Program output: the system means and levels, then every satellite with a
// star for each split-list entry of its number; when the list was not
// recorded (no place in the satellite problem file), a line that says so.
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
