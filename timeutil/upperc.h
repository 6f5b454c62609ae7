// Upper-casing of text.
#pragma once
#include <string>

namespace timeutil {

// ASCII a-z become A-Z; every other byte (accented letters too) stays.
void UPPERC(std::string& text);

}  // namespace timeutil
