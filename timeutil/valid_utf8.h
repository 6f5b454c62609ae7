// Text made valid UTF-8 for files that other programs parse.
#pragma once
#include <string>
#include <string_view>

namespace timeutil {

// text with every byte that does not belong to a well-formed UTF-8 sequence
// (stray continuation bytes, overlong forms, surrogates, code points above
// U+10FFFF, cut sequences) replaced by U+FFFD; other bytes unchanged.
std::string valid_utf8(std::string_view text);

}  // namespace timeutil
