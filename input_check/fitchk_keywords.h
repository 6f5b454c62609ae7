// The keywords of the input file that a run of FITCHK reads, in one list:
// what the input-file check knows of each.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "orbit_check/real_options.h"

namespace input_check {

enum class KeyKind {
  Radio,        // "1" or "0"
  ProtocolList, // file names, one per value line
  Real,         // a real option of the run (real_options)
  Output,       // a file the run writes
  Input,        // a file the run reads
  CheckBox,     // "1" or "0", checked by CKOPTB
  Choice,       // one of a set of texts, checked by CKOPTC
  Text,         // read as it stands
  List,         // a list of values (ENVIRONMENT, DELETE_FILES)
};

struct FitchkKeyword {
  const char* name;
  KeyKind kind;
  const char* descr = "";  // CheckBox: the description the run gives the checker
  const orbit_check::RealOption* option = nullptr;  // Real: the run's option
};

// Every keyword FITCHK reads, in the order the run reads them.
const std::vector<FitchkKeyword>& fitchk_keywords();

// The entry of name, or nullptr.
const FitchkKeyword* find_keyword(std::string_view name);

// Keywords of the input file that FITCHK does not read but that are no
// typos: the menu's own ("RADIO_2", ...), descriptions ("DESCR_", "MSG_"),
// the column keywords of file lists and the suite's "CONST".
bool other_known_keyword(std::string_view name);

}  // namespace input_check
