// The main program FITCHK: checks TRJFIT orbit fits from its protocols.
#pragma once

namespace orbit_check {

// Runs the whole program; ends through the common exit, never returns.
[[noreturn]] void FITCHK();

}  // namespace orbit_check
