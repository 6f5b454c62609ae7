// Converting and checking the values of a keyword as integers.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace input {

// As CKOPTR for 32-bit integers, with the inclusive limits ge and le only;
// values and limits show in messages as free-format integer texts.
void CKOPTI(int iMode, std::string_view keyWord, const std::vector<std::string>& keyValue,
            std::string_view srName, std::string_view descr, int irc, int& irCode,
            std::optional<int> empty = std::nullopt, std::optional<int> ge = std::nullopt,
            std::optional<int> le = std::nullopt,
            std::optional<std::string_view> column = std::nullopt,
            std::optional<int> lineNr = std::nullopt,
            std::optional<std::string_view> entry = std::nullopt,
            std::optional<int> maxVal = std::nullopt, std::optional<int> init = std::nullopt,
            std::optional<int> error = std::nullopt, int* nError = nullptr, int* nOk = nullptr,
            int* result1 = nullptr, int* nResult = nullptr, std::vector<int>* result = nullptr);

}  // namespace input
