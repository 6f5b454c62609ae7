#include "platform/fixed_text.h"

#include <algorithm>

namespace platform {

std::size_t len_trim(std::string_view s) {
  std::size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return n;
}

std::string_view rtrim(std::string_view s) { return s.substr(0, len_trim(s)); }

bool is_blank(std::string_view s) { return len_trim(s) == 0; }

std::string pad(std::string_view s, std::size_t n) {
  std::string out(s.substr(0, n));
  out.resize(n, ' ');
  return out;
}

std::string cut(std::string_view s, std::size_t n) { return std::string(rtrim(s.substr(0, n))); }

bool same_text(std::string_view a, std::string_view b) { return rtrim(a) == rtrim(b); }

std::string_view col_view(std::string_view line, int first, int last) {
  if (last < first || last < 1) return {};
  // Columns before 1 and beyond the end hold nothing.
  const std::size_t from = static_cast<std::size_t>(std::max(first, 1)) - 1;
  if (from >= line.size()) return {};
  return line.substr(from, static_cast<std::size_t>(last) - from);
}

std::string col(std::string_view line, int first, int last) {
  if (last < first) return {};
  const std::size_t width = static_cast<std::size_t>(last) - static_cast<std::size_t>(first) + 1;
  std::string out;
  out.reserve(width);
  if (first < 1) out.append(static_cast<std::size_t>(std::min(0, last) - first + 1), ' ');
  out.append(col_view(line, first, last));
  out.resize(width, ' ');
  return out;
}

}  // namespace platform
