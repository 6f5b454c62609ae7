// Checking a keyword whose value names one of a set of choices.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace input {

// The value of keyWord, without leading and trailing blanks, must be one of
// allowed (compared case-sensitively); an empty value stands for
// allowed[empty]. Returns the index in allowed of the value. A value not
// allowed is reported on lfnMsg with the allowed values, more than one value
// by CKOPTN; either gives irCode + iMode and the index error. A missing
// keyword (irc not 0; READKEYS has reported it) gives irCode + 1 and error.
// A mode other than 0 or 1 ends the run.
int CKOPTC(int iMode, std::string_view keyWord, const std::vector<std::string>& keyValue,
           std::string_view srName, std::string_view descr, int irc, int& irCode,
           const std::vector<std::string_view>& allowed, int empty, int error);

// The allowed values as the message lists them: "A", "B" or "C".
std::string allowedText(const std::vector<std::string_view>& allowed);

}  // namespace input
