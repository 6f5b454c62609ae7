// Blank-padded fixed-length text, held unpadded: helpers that give Fortran's
// fixed-buffer semantics without padding arithmetic in every routine.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// Length without trailing blanks.
std::size_t len_trim(std::string_view s);

// The text without trailing blanks.
std::string_view rtrim(std::string_view s);

// True when the text holds nothing but blanks (or is empty).
bool is_blank(std::string_view s);

// The text cut to n characters or padded with blanks to exactly n.
std::string pad(std::string_view s, std::size_t n);

// The text as a buffer of n characters holds it: cut to n, trailing blanks dropped.
std::string cut(std::string_view s, std::size_t n);

// Comparison that ignores trailing blanks on both sides (case-sensitive).
bool same_text(std::string_view a, std::string_view b);

// Columns first..last (1-based, inclusive) of a line; columns beyond the
// line's end read as blanks, so the result is always last-first+1 long.
std::string col(std::string_view line, int first, int last);

// Columns first..last of a line as a view into it, without allocating: the
// part that lies within the line (shorter than the range near the line end).
// Readers that treat blanks as nothing can use it in place of col.
std::string_view col_view(std::string_view line, int first, int last);

}  // namespace platform
