// The common exit of every run, and its clean-up steps.
#pragma once
#include <string>

namespace framework {

// Ends the run with return code ircode (0 normal, 1 without error, else
// error): the exit hook, clean-up, time and verdict lines, all units
// closed. Never returns.
[[noreturn]] void EXITRC(int ircode);

// A routine the main program registers to run at the common exit with the
// return code, before the listed files are deleted and the units closed.
using ExitHook = void (*)(int ircode);

// State of the exit hook.
struct ExitHookState {
  ExitHook hook = nullptr;
};
extern ExitHookState exitHook;

// Registers hook (nullptr: none); it replaces the one registered before.
void set_exit_hook(ExitHook hook);

// Hands the return code to the menu's auxiliary program (only "PANLAID").
void EXIT_MEN(int ircode);

// Deletes the files listed under "DELETE_FILES".
void EXIT_DEL();

// Time and verdict lines, units 10-999 closed, process ended.
[[noreturn]] void EXIT_PGM(int ircode);

// Input file of the menu's auxiliary program; only that program sets it.
extern std::string auxInpFil;

}  // namespace framework
