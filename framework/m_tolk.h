// Unit numbers shared by every routine, and the keyword record t_key.
#pragma once
#include <string>
#include <vector>

namespace framework {

struct Tolk {
  int lfnStdIn = 5;     // standard input
  int lfnOut = 6;       // program output
  int lfnMsg = 6;       // error and warning messages
  int lfnAux1 = 11;     // main program's own output files
  int lfnAux2 = 501;
  int lfnMsgFil = 997;  // unit of a message file
  int lfnOutFil = 998;  // unit of a program-output file
  int lfnWork = 999;    // short-lived files
};
extern Tolk m_tolk;

// One keyword of the input file. name holds at most 32 characters and value
// entries at most 255, both without trailing blanks.
struct t_key {
  std::string name;
  std::vector<std::string> value;
  bool hasValue = false;  // false: the value array is absent
  std::vector<bool> cut;  // cut[i]: value i+1 was cut with its line at 255 columns
};

// Marks key.value absent.
void INIT_KEY(t_key& key);

}  // namespace framework
