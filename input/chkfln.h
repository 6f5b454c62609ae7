// File names that do not fit the 255 characters a name is held in.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace input {

// Why a name does not fit.
enum class TooLong {
  LineCut,   // its line in the input file is longer than 255 columns
  Replaced,  // longer than 255 characters with its variables replaced
  Given,     // longer than 255 characters as given
  Variable,  // a variable it uses is defined on a line longer than 255 columns
};

// Writes " *** SR <caller>: File name too long" with the keyword (none when
// blank), the name and the reason (length: the characters it needs) to
// lfnMsg and ends the run with EXITRC(2).
[[noreturn]] void name_too_long(std::string_view caller, std::string_view keyWord,
                                std::string_view name, TooLong why, std::size_t length);

// A name that does not fit, with what name_too_long reports of it.
struct NameFault {
  std::string caller;
  std::string keyWord;
  std::string name;
  TooLong why = TooLong::Given;
  std::size_t length = 0;  // Given, Replaced: the characters it needs
  std::size_t item = 0;    // the value of keyWord (0-based) that holds it
};

// Ends the run through name_too_long.
[[noreturn]] void name_too_long(const NameFault& fault);

// Why a file name of keyWord does not fit: cut with its input line (cut),
// longer than 255 characters once its variables are replaced, or using a
// variable cut with its line; nullopt when it fits. Nothing is written.
std::optional<NameFault> name_fault(std::string_view caller, std::string_view keyWord,
                                    std::string_view name, bool cut);

// Ends the run through name_too_long when name_fault finds a fault.
void CHKFLN(std::string_view caller, std::string_view keyWord, std::string_view name, bool cut);

// True when value number i (0-based) of the first keyword named keyWord was
// cut with its line; false when there is no such value.
bool value_cut(std::string_view keyWord, std::size_t i);

}  // namespace input
