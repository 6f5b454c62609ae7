// Numbers as text for the picture and the results files: the same bytes
// in every locale.
#pragma once
#include <string>

namespace results {

// v with the given number of decimals ("-0.0" written as "0.0").
std::string fixed_text(double v, int decimals);

// The shortest text that reads back as v exactly, in JSON's number syntax
// ("0.342", "56454", "1e+20"); "null" for a value that is not finite.
std::string shortest_text(double v);

}  // namespace results
