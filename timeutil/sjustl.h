// Left-justification of text.
#pragma once
#include <string>

namespace timeutil {

// Drops the leading blanks (only ' ', not tabs); an all-blank text stays as it is.
void SJUSTL(std::string& text);

}  // namespace timeutil
