// Connecting standard input, program output and error messages.
#pragma once

namespace framework {

// Connects "SYSINP" to standard input, "SYSOUT" to lfnOut (998) and
// "SYSERR" to lfnMsg (997), or merges messages into the program output
// ("ERRMRG", or "SYSERR" given as "SYSOUT"); without names both stay on the
// console. Output files start empty. Open failures and invalid check boxes
// end the run.
void OPNSYS();

}  // namespace framework
