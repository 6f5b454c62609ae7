// RMS statistics of one protocol extract, the summary and week-format
// reports, and the threshold table printout.
#pragma once
#include <array>
#include <string_view>

#include "orbit_check/protocol_extract.h"

namespace orbit_check {

// Day of year of an epoch: 1 on 1 January 0h.
long long day_of_year(double mjd);

// Writes the threshold table to lfnOut: one line per system whose factor is
// not 0, then two blank lines; the median rule is named in its heading.
void PRINT_THRESHOLDS(const ThresholdTable& thresholds);

// The per-protocol step after EXTDEF. Rounds window in place to whole days
// (start: its day, or the next one from 0.001 day before midnight; end: the
// nearest midnight, 12:00 going up), sets rmsMax and satMax to the largest
// RMS of the table and its satellite (the first of equal values; entry 1
// when the table is empty), writes the summary block of fileName to lfnAux1
// and, when weekOpen, the week-format line to lfnAux2.
void SUMMARIZE_PROTOCOL(std::string_view fileName, const ProtocolExtract& extract,
                        std::array<double, 2>& window, double& rmsMax, int& satMax, bool weekOpen);

}  // namespace orbit_check
