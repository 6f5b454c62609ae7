// Checking a set of radio buttons, or a single check box.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace input {

// Each keyword of the set must be 0 or 1 (checked with CKOPTI); exactly one
// must be 1, except that a set of one keyword (a check box) may be 0.
// Outputs: iSelect the index (1-based) of the button set (0 for a check box
// that is not set; init first when given), selected whether one is set.
// Bad values, none or several set: reported on lfnMsg, in mode 1 counted in
// irCode, iSelect = error (when given) and selected false. A mode other than
// 0 or 1 ends the run.
void CKOPTB(int iMode, const std::vector<std::string>& keyWord, std::string_view srName,
            std::string_view descr, int& irCode,
            std::optional<std::string_view> column = std::nullopt,
            std::optional<int> lineNr = std::nullopt,
            std::optional<std::string_view> entry = std::nullopt,
            std::optional<int> init = std::nullopt, std::optional<int> error = std::nullopt,
            int* iSelect = nullptr, bool* selected = nullptr);

}  // namespace input
