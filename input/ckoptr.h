// Converting and checking the values of a keyword as real numbers.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace input {

// Converts the values of keyWord (as READKEYS gave them, with its return code
// irc) to reals and checks them against the limits given: value >= ge,
// <= le, > gt, < lt. Each bad value is reported on lfnMsg and, in mode 1,
// counted in irCode; a missing keyword (irc != 0) counts once, silently.
// An absent optional argument (std::nullopt or nullptr; {} in a call) is not
// used: without empty an empty value is bad, without error a bad item leaves
// its output as it is. Passing ge with gt, le with lt, a mode other than 0 or
// 1, or maxVal above the size of result ends the run.
// Outputs: nError bad items (99: keyword missing), nOk valid items, result1
// the first valid number, nResult items examined, result one per item (its
// size, when given, limits the number of values).
void CKOPTR(int iMode, std::string_view keyWord, const std::vector<std::string>& keyValue,
            std::string_view srName, std::string_view descr, int irc, int& irCode,
            std::optional<double> empty = std::nullopt,
            std::optional<double> ge = std::nullopt, std::optional<double> le = std::nullopt,
            std::optional<double> gt = std::nullopt, std::optional<double> lt = std::nullopt,
            std::optional<std::string_view> column = std::nullopt,
            std::optional<int> lineNr = std::nullopt,
            std::optional<std::string_view> entry = std::nullopt,
            std::optional<int> maxVal = std::nullopt,
            std::optional<double> init = std::nullopt,
            std::optional<double> error = std::nullopt, int* nError = nullptr,
            int* nOk = nullptr, double* result1 = nullptr, int* nResult = nullptr,
            std::vector<double>* result = nullptr);

}  // namespace input
