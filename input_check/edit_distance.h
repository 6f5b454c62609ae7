// The number of edits between two words.
#pragma once
#include <string_view>

namespace input_check {

// Insertions, deletions, substitutions and swaps of two neighbours needed
// to turn a into b (each character edited once at most).
int edit_distance(std::string_view a, std::string_view b);

}  // namespace input_check
