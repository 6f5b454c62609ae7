// The keyword store of the input file and its routines.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "framework/m_tolk.h"

namespace input {

struct t_inpkey {
  std::string inpFil;                   // name of the input file read
  int nKeys = 0;
  std::vector<framework::t_key> keys;   // file order; keys[i-1] is key i
  bool hasKeys = false;
  int nDel = 0;
  std::vector<std::string> delFil;      // files to delete at exit
  bool hasDelFil = false;
  int opnBusy = 0;                      // -1 while OPNFIL runs
  int status = 0;                       // 0 empty, 1 reading, 2 read, 3 exiting
};
extern t_inpkey inpKey;

// Empties the store without freeing anything.
void INIT_INPKEY(t_inpkey& store);

struct NameFault;

// Loads the input file (blank name: from the command line). Returns only on
// success; any failure ends the run. With refused, the names of
// "DELETE_FILES" that do not fit are added to it instead.
void READINPF(std::string_view inpFil, t_inpkey& store, std::vector<NameFault>* refused = nullptr);

// Values of keyWord into keyValue (at least one element); irc 0 found, 1 not.
void READKEYS(std::string_view keyWord, std::vector<std::string>& keyValue, int& irc);

// True when the keyword is in the store.
bool TSTKEY(std::string_view keyWord);

// The next significant line of unit lfn (adjust 1: left-adjusted), blank at
// the end of the data.
std::string NEXTLINE(int lfn, int adjust);

// Number of occurrences of c's first character in s; pos: the first (1-based) or 0.
int CHRCOUNT(std::string_view c, std::string_view s, int& pos);

// All command-line arguments joined with one blank, left-adjusted.
std::string MYGETARG();

}  // namespace input
