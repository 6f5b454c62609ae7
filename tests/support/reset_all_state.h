// Every module's state back to its initial values, for tests and fuzz targets.
#pragma once

namespace testsupport {

// Resets every module's state and the unit table.
void reset_all_state();

}  // namespace testsupport
