// The common exit of every run, and its clean-up steps.
#pragma once
#include <string>
#include <vector>

namespace framework {

// Ends the run with return code ircode (0 normal, 1 without error, else
// error; 2 in place of 0 or 1 once the run wrote an error message): the
// exit hook, clean-up, time and verdict lines, all units closed. Never
// returns.
[[noreturn]] void EXITRC(int ircode);

// A routine the main program registers to write the run's results at the
// common exit. It is called with the return code so far, after every other
// output is closed and checked and before the listed files are deleted, and
// returns the return code after it (2 when its own output failed). Should
// the code change after it (the verdict line could not be written), it is
// called once more with the final code, so that the results tell it.
using ExitHook = int (*)(int ircode);

// State of the exit hook.
struct ExitHookState {
  ExitHook hook = nullptr;
  int calledWith = -1;  // return code of its call; -1: not called
  bool outputsLost = false;  // CLOSE_OUTPUTS found a failure (reported once)
};
extern ExitHookState exitHook;

// Registers hook (nullptr: none); it replaces the one registered before.
void set_exit_hook(ExitHook hook);

// Calls the exit hook once more when ircode differs from the code it was
// called with; returns the return code after it.
int rerun_exit_hook(int ircode);

// Closes every unit from 10 up except the program output and the message
// unit, and flushes those two and the console. A failure is reported on the
// console and makes a return code of 0 or 1 into 2; returns the code after it.
int CLOSE_OUTPUTS(int ircode);

// Hands the return code to the menu's auxiliary program (only "PANLAID").
void EXIT_MEN(int ircode);

// A file the run reads: what it is for a person (its keyword and name as
// given, "input file FITCHK.INP") and its name as opened.
struct ReadFile {
  std::string what;
  std::string name;
};

// The files the run reads, which EXIT_DEL never deletes, and the entries of
// the delete list found to be one of them.
struct ExitDelState {
  std::vector<ReadFile> readFiles;
  bool screened = false;
  std::vector<bool> kept;  // per entry of the delete list
};
extern ExitDelState s_exitdel;

// Registers the files the run reads (replacing those registered before).
void keep_read_files(std::vector<ReadFile> files);

// Marks the entries of the delete list that are files the run reads
// (compared as existing files), with a warning for each; only once.
void screen_delete_list();

// Deletes the files listed under "DELETE_FILES", but for the entries that
// screen_delete_list marks (it runs first when it has not run yet).
void EXIT_DEL();

// Time and verdict lines, units 10-999 closed, process ended.
[[noreturn]] void EXIT_PGM(int ircode);

// Input file of the menu's auxiliary program; only that program sets it.
extern std::string auxInpFil;

}  // namespace framework
