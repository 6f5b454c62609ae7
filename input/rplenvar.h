// Variable references in file names, resolved from the input file.
#pragma once
#include <string>
#include <string_view>

namespace input {

// Index (1-based) of the keyword "ENVIRONMENT" in the keyword store, kept
// between calls; 0 when not known.
struct RplenvarCache {
  int iEnv = 0;
};
extern RplenvarCache rplenvarCache;

// Replaces each ${NAME} and $N in name by the value of the variable in the
// input file's "ENVIRONMENT" table (lines "name value"; a line whose value
// holds a "$" is never used). The result is cut at 255 characters. A missing
// "}" or an unknown variable: level 1 a warning, level 2 an error that ends
// the run, any other level silent; the reference then stays as written.
void RPLENVAR(int level, std::string& name);

// As RPLENVAR, silent and not cut: the whole name the references give;
// *cut set when a variable used was defined on a line of the input file
// longer than 255 columns (its value is then not the one written).
std::string replaced_whole(std::string_view name, bool* cut = nullptr);

}  // namespace input
