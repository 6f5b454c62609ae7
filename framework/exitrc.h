// The common exit of every run, and its clean-up steps.
#pragma once
#include <string>

namespace framework {

// Ends the run with return code ircode (0 normal, 1 without error, else
// error): clean-up, time and verdict lines, all units closed. Never returns.
[[noreturn]] void EXITRC(int ircode);

// Hands the return code to the menu's auxiliary program (only "PANLAID").
void EXIT_MEN(int ircode);

// Deletes the files listed under "DELETE_FILES".
void EXIT_DEL();

// Time and verdict lines, units 10-999 closed, process ended.
[[noreturn]] void EXIT_PGM(int ircode);

// Input file of the menu's auxiliary program; only that program sets it.
extern std::string auxInpFil;

}  // namespace framework
