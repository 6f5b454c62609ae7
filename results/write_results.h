// The results of a run as one JSON document ("JSONFIL").
#pragma once
#include <string>
#include <vector>

#include "framework/m_msglog.h"
#include "results/run_record.h"

namespace results {

// The JSON text of run, ended with return code ircode, with the message
// lines of the run. Same record, same bytes.
std::string write_results(const RunRecord& run, int ircode,
                          const framework::Messages& messages);

}  // namespace results
