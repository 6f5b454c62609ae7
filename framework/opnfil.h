// Opening files and reporting failed opens, allocations and full tables.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace framework {

// Connects unit lfn to fileName with the status, form and action words;
// iostat 0 when open, else the failing status. Never reports an open failure.
void OPNFIL(int lfn, std::string_view fileName, std::string_view status,
            std::string_view form, std::string_view action, std::string_view reserved,
            int& iostat);

// The name OPNFIL opens for fileName: cut to 255 characters, left-justified,
// variables replaced once the input file is read (with OPNFIL's warnings).
std::string expanded_name(std::string_view fileName);

// As expanded_name, without any message (an unknown variable stays as written).
std::string silent_expanded_name(std::string_view fileName);

// As silent_expanded_name, not cut: the whole name the file would need;
// *cut set when a variable used was cut with its line in the input file.
std::string whole_expanded_name(std::string_view fileName, bool* cut = nullptr);

// True when fileName, left-justified and with its variables replaced, fits
// the 255 characters a name is held in and uses no variable cut with its
// line. OPNFIL opens no other name.
bool name_fits(std::string_view fileName);

// The name of a file the program writes without a unit (replaced as a
// whole): expanded_name(fileName), which, as in OPNFIL, also takes the
// place of fileName in the list of files to delete at exit.
std::string opened_name(std::string_view fileName);

// Silent when iostat mod 256 is 0; else writes the open-failed message to
// lfnReport (0: unit 6) and ends the run with EXITRC(2).
void OPNERR(int lfnReport, int lfn, int iostat, std::string_view fileName,
            std::string_view caller);

// Silent when irc is 0; else the allocation message and EXITRC(2).
void ALCERR(int irc, std::string_view varName, const std::vector<long long>& sizes,
            std::string_view caller);

// irc 0 when actual <= maximum; else the dimension message, and with stop 1
// EXITRC(2), otherwise irc 1.
void DIMTST(int stop, int printActual, int callerKind, std::string_view caller,
            std::string_view dimName, std::string_view what, std::string_view advice,
            int actual, int maximum, int& irc);

}  // namespace framework
