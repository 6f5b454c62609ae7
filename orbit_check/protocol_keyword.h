// Which list of the input file names the run's protocols.
#pragma once

namespace orbit_check {

// "JOBOUT" when "RADIO_1" is "1", "OUTPUT" when it is "0", else nullptr
// (no protocol is read). With quiet, a missing "RADIO_1" draws no
// "Keyword not found" message.
const char* protocol_keyword(bool quiet = false);

}  // namespace orbit_check
