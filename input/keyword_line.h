// The rules for one line of the input file: decoding a keyword line and
// taking a value from a line. Shared by READINPF and the input-file check.
#pragma once
#include <cstddef>
#include <string>

namespace input {

// Larger arrays count as failed allocations: a count in the input file must
// not take the machine's memory (or the process, where the allocator cannot
// fail softly) before a single value is read.
constexpr long long kMaxArrayBytes = 256LL << 20;

// Keyword and count of a keyword line; false when they cannot be read.
bool decode_keyword_line(const std::string& line, std::string& name, int& count);

// A value of a line: raw from the first double quote (or the whole line) when
// it holds three or more double quotes, else its free-format item number item.
// Items are held in limit characters.
std::string line_value(const std::string& line, std::size_t item, bool rawFromQuote,
                       std::size_t limit = 255);

}  // namespace input
