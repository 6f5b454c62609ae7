// Formatted output fields as Fortran writes them (In, In.m, Fn.d, En.d, An,
// nX), a free-format integer text, and a line builder that reads like a layout.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// In / In.m: right-justified in w columns, at least m digits (m < 0: none;
// m = 0 writes a zero as blanks); w asterisks when the number or m does not
// fit. w = 0 is the minimal width (I0); w < 0 gives "".
std::string fmt_i(long long v, int w, int m = -1);

// Fn.d: fixed point with d decimals right-justified in w columns, rounded as
// gfortran rounds (the exact binary value to nearest, an exact tie to even).
// A negative value keeps its sign when it rounds to zero ("-0.000"); the
// leading zero of |v| < 1 is dropped when only that makes it fit (".500").
// Infinity and NaN as "Infinity"/"Inf"/"NaN"; w asterisks when it does not
// fit. w = 0 is the minimal width (F0.d); w < 0 gives "".
std::string fmt_f(double v, int w, int d);

// En.d: exponential form 0.ddddE+xx right-justified in w columns; an
// exponent above 99 in magnitude is written +xxx without the E. Rounding,
// sign, leading zero and overflow as for fmt_f; d < 1 gives w asterisks,
// w < 1 gives "".
std::string fmt_e(double v, int w, int d);

// An applied to a text whose buffer has the text's own length: a longer text
// gives its first n characters, a shorter one is right-justified.
std::string fmt_a(std::string_view s, int n);

// An applied to a text held in a buffer at least n long: its first n
// characters, left-aligned and blank-padded.
std::string fmt_ab(std::string_view s, int n);

// Free-format (list-directed) integer text: one blank and the digits.
std::string list_int(long long v);

// Builds one record field by field. nX blanks are written only when a later
// field follows, as a trailing nX writes nothing in Fortran.
class Line {
 public:
  Line() = default;
  Line& A(std::string_view s);          // A: the text in its own length
  Line& A(std::string_view s, int n);   // An of a text in its own length
  Line& Ab(std::string_view s, int n);  // An of a text in a longer buffer
  Line& I(long long v, int w, int m = -1);
  Line& F(double v, int w, int d);
  Line& E(double v, int w, int d);
  Line& X(int n);
  // The record as written by the layout (trailing nX dropped).
  const std::string& str() const { return text_; }
  // A record assembled in a buffer: trailing blanks dropped.
  std::string trimmed() const;

 private:
  Line& put(std::string_view field);
  std::string text_;
  int pending_ = 0;
};

}  // namespace platform
