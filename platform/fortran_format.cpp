#include "platform/fortran_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/fixed_text.h"

namespace platform {

namespace {

std::string stars(int w) { return std::string(static_cast<std::size_t>(w > 0 ? w : 0), '*'); }

// The field right-justified in w columns; w = 0 is the minimal width.
std::string justify(const std::string& body, int w) {
  if (w == 0) return body;
  const std::size_t width = static_cast<std::size_t>(w);
  if (body.size() > width) return stars(w);
  return std::string(width - body.size(), ' ') + body;
}

// Sign, optional leading zero and rest (rest starts with the point): the
// zero is dropped only when that makes the field fit, or at minimal width.
std::string fit_with_zero(bool neg, bool zero, const std::string& rest, int w) {
  const std::string sign = neg ? "-" : "";
  if (!zero) return justify(sign + rest, w);
  const std::string full = sign + "0" + rest;
  if (w > 0 && full.size() <= static_cast<std::size_t>(w)) return justify(full, w);
  return justify(sign + rest, w);
}

// Infinity and NaN as F and E write them: the long word where it fits.
std::string non_finite(double v, int w) {
  if (std::isnan(v)) return w == 0 || w >= 3 ? justify("NaN", w) : stars(w);
  const bool neg = v < 0;
  const std::string full = neg ? "-Infinity" : "Infinity";
  const std::string brief = neg ? "-Inf" : "Inf";
  if (w >= static_cast<int>(full.size())) return justify(full, w);
  if (w == 0 || w >= static_cast<int>(brief.size())) return justify(brief, w);
  return stars(w);
}

// printf of |v| in the given conversion ('f' or 'e') with prec digits.
std::string print_abs(double v, char conv, int prec) {
  const char* layout = conv == 'f' ? "%.*f" : "%.*e";
  char buf[128];
  const double a = std::fabs(v);
  const int n = std::snprintf(buf, sizeof buf, layout, prec, a);
  if (n < 0) return {};
  if (static_cast<std::size_t>(n) < sizeof buf) return std::string(buf, static_cast<std::size_t>(n));
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), layout, prec, a);
  big.resize(static_cast<std::size_t>(n));
  return big;
}

// E±dd for exponents up to 99, ±ddd (no letter) up to 999.
std::string exponent_text(int e) {
  const int a = std::abs(e);
  char buf[8];
  std::snprintf(buf, sizeof buf, a <= 99 ? "E%c%02d" : "%c%03d", e < 0 ? '-' : '+', a);
  return buf;
}

}  // namespace

std::string fmt_i(long long v, int w, int m) {
  if (w < 0) return {};
  if (m > w && w > 0) return stars(w);
  const unsigned long long mag =
      v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
  char buf[24];
  const auto res = std::to_chars(buf, buf + sizeof buf, mag);
  std::string digits(buf, res.ptr);
  if (m == 0 && v == 0) digits.clear();
  if (m > 0 && digits.size() < static_cast<std::size_t>(m))
    digits.insert(0, static_cast<std::size_t>(m) - digits.size(), '0');
  return justify(v < 0 ? "-" + digits : digits, w);
}

std::string fmt_f(double v, int w, int d) {
  if (w < 0) return {};
  if (d < 0) return stars(w);
  if (!std::isfinite(v)) return non_finite(v, w);
  std::string text = print_abs(v, 'f', d);
  if (d == 0) text += '.';
  // A zero integer part is the optional leading zero.
  const bool zero = text[0] == '0' && text[1] == '.' && d > 0;
  return fit_with_zero(std::signbit(v), zero, zero ? text.substr(1) : text, w);
}

std::string fmt_e(double v, int w, int d) {
  if (w <= 0) return {};
  if (d < 1) return stars(w);
  if (!std::isfinite(v)) return non_finite(v, w);
  // d.ddd e±x from printf is 0.dddd E±(x+1) in Fortran's form.
  const std::string text = print_abs(v, 'e', d - 1);
  const std::size_t e_pos = text.find('e');
  std::string digits = text.substr(0, 1) + (d > 1 ? text.substr(2, e_pos - 2) : "");
  const int e = v == 0 ? 0 : std::atoi(text.c_str() + e_pos + 1) + 1;
  return fit_with_zero(std::signbit(v), true, "." + digits + exponent_text(e), w);
}

std::string fmt_a(std::string_view s, int n) {
  if (n <= 0) return {};
  const std::size_t width = static_cast<std::size_t>(n);
  if (s.size() >= width) return std::string(s.substr(0, width));
  return std::string(width - s.size(), ' ') + std::string(s);
}

std::string fmt_ab(std::string_view s, int n) {
  if (n <= 0) return {};
  return pad(s, static_cast<std::size_t>(n));
}

std::string list_int(long long v) { return " " + fmt_i(v, 0); }

Line& Line::A(std::string_view s) { return put(s); }
Line& Line::A(std::string_view s, int n) { return put(fmt_a(s, n)); }
Line& Line::Ab(std::string_view s, int n) { return put(fmt_ab(s, n)); }
Line& Line::I(long long v, int w, int m) { return put(fmt_i(v, w, m)); }
Line& Line::F(double v, int w, int d) { return put(fmt_f(v, w, d)); }
Line& Line::E(double v, int w, int d) { return put(fmt_e(v, w, d)); }

Line& Line::X(int n) {
  if (n > 0) pending_ += n;
  return *this;
}

std::string Line::trimmed() const { return std::string(rtrim(text_)); }

// Any field, even an empty one, moves the position past pending blanks.
Line& Line::put(std::string_view field) {
  text_.append(static_cast<std::size_t>(pending_), ' ');
  pending_ = 0;
  text_ += field;
  return *this;
}

}  // namespace platform
