// A picture of a run as an SVG document ("PLOTFIL").
#pragma once
#include <string>
#include <vector>

#include "framework/m_msglog.h"
#include "results/run_record.h"

namespace results {

// The SVG text of run, ended with return code ircode with the message
// lines of the run: bars per satellite system for one protocol, a heat map
// for several. Same record, same bytes.
std::string write_plot(const RunRecord& run, int ircode, const framework::Messages& messages);

}  // namespace results
