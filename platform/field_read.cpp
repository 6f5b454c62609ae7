#include "platform/field_read.h"

#include <charconv>
#include <climits>
#include <system_error>

namespace platform {

namespace {

bool is_digit(int c) { return c >= '0' && c <= '9'; }
bool is_sign(int c) { return c == '+' || c == '-'; }
bool is_list_blank(char c) { return c == ' ' || c == '\t'; }

// Walks a text character by character; in a fixed field blanks are nothing.
class Scanner {
 public:
  Scanner(std::string_view s, bool skip_blanks) : s_(s), skip_(skip_blanks) {}
  // The next character (after blanks where they are skipped), -1 at the end.
  int peek() {
    while (skip_ && p_ < s_.size() && s_[p_] == ' ') ++p_;
    return p_ < s_.size() ? static_cast<unsigned char>(s_[p_]) : -1;
  }
  void take() { ++p_; }
  bool at_end() { return peek() < 0; }

 private:
  std::string_view s_;
  std::size_t p_ = 0;
  bool skip_;
};

// Optional sign and decimal digits up to the end of the scanner's text.
bool scan_int(Scanner& sc, int& v) {
  bool neg = false;
  if (is_sign(sc.peek())) {
    neg = sc.peek() == '-';
    sc.take();
  }
  if (!is_digit(sc.peek())) return false;
  long long acc = 0;
  for (; is_digit(sc.peek()); sc.take()) {
    acc = acc * 10 + (sc.peek() - '0');
    if (acc > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (!sc.at_end() || (!neg && acc > INT_MAX)) return false;
  v = static_cast<int>(neg ? -acc : acc);
  return true;
}

// Room for the significant digits and an exponent, on the stack for
// ordinary fields.
class NumberText {
 public:
  explicit NumberText(std::size_t digits) {
    if (digits + 24 > sizeof small_) {
      big_.resize(digits + 24);
      p_ = big_.data();
    }
  }
  void push(char c) { p_[n_++] = c; }
  std::size_t digits() const { return n_; }
  // The number digits × 10^exp10; overflow fails, underflow gives zero.
  bool value(bool neg, long long exp10, double& v);

 private:
  char small_[96];
  std::string big_;
  char* p_ = small_;
  std::size_t n_ = 0;
};

bool NumberText::value(bool neg, long long exp10, double& v) {
  double mag = 0.0;
  if (n_ > 0) {
    const std::size_t n = n_;
    push('e');
    const auto end = std::to_chars(p_ + n_, p_ + n_ + 22, exp10).ptr;
    const auto res = std::from_chars(p_, end, mag);
    n_ = n;
    if (res.ec == std::errc::result_out_of_range) {
      if (exp10 + static_cast<long long>(n) > 0) return false;
      mag = 0.0;
    } else if (res.ec != std::errc() || res.ptr != end) {
      return false;
    }
  }
  v = neg ? -mag : mag;
  return true;
}

// Exponent after the mantissa: E or D with optional sign, or a bare sign;
// at least one digit. Clamped, as any such exponent is out of range anyway.
bool scan_exponent(Scanner& sc, long long& e) {
  const int c = sc.peek();
  if (c == 'E' || c == 'e' || c == 'D' || c == 'd') {
    sc.take();
  } else if (!is_sign(c)) {
    return c < 0;
  }
  bool neg = false;
  if (is_sign(sc.peek())) {
    neg = sc.peek() == '-';
    sc.take();
  }
  if (!is_digit(sc.peek())) return false;
  for (; is_digit(sc.peek()); sc.take())
    if (e < 1000000000) e = e * 10 + (sc.peek() - '0');
  if (neg) e = -e;
  return true;
}

// [sign] digits [. digits] [exponent]: at least one mantissa digit; without
// a point the last d digits are decimals. The exponent only where allowed.
bool scan_real(Scanner& sc, std::size_t len, int d, bool exponent, double& v) {
  bool neg = false;
  if (is_sign(sc.peek())) {
    neg = sc.peek() == '-';
    sc.take();
  }
  NumberText num(len);
  bool point = false, any = false;
  long long frac = 0;
  for (int c = sc.peek(); is_digit(c) || (c == '.' && !point); c = sc.peek()) {
    sc.take();
    if (c == '.') {
      point = true;
      continue;
    }
    any = true;
    if (point) ++frac;
    if (c != '0' || num.digits() > 0) num.push(static_cast<char>(c));
  }
  long long e = 0;
  if (!any || (exponent && !scan_exponent(sc, e)) || !sc.at_end()) return false;
  return num.value(neg, e - (point ? frac : (d > 0 ? d : 0)), v);
}

// Where the next item starts and what it is: the end of the list (end of
// text or a slash), a null item (a comma with no item before it), or an item.
enum class Token { End, Null, Item };

struct RawItem {
  std::string_view raw;  // with its quotes, when quoted
  bool quoted = false;
};

std::size_t quoted_end(std::string_view s, std::size_t p) {
  const char q = s[p];
  for (++p; p < s.size(); ++p) {
    if (s[p] != q) continue;
    if (p + 1 < s.size() && s[p + 1] == q) {
      ++p;
      continue;
    }
    return p + 1;
  }
  return s.size();  // unterminated: the item runs to the end
}

Token next_item(std::string_view s, std::size_t& p, bool& after_item, RawItem& it) {
  for (;;) {
    while (p < s.size() && is_list_blank(s[p])) ++p;
    if (p >= s.size() || s[p] == '/') return Token::End;
    if (s[p] != ',') break;
    ++p;
    if (!after_item) return Token::Null;
    after_item = false;  // the comma closes the previous item
  }
  const std::size_t start = p;
  it.quoted = s[p] == '"' || s[p] == '\'';
  if (it.quoted) {
    p = quoted_end(s, p);
  } else {
    while (p < s.size() && !is_list_blank(s[p]) && s[p] != ',' && s[p] != '/') ++p;
  }
  it.raw = s.substr(start, p - start);
  after_item = true;
  return Token::Item;
}

// The characters of a quoted item: quotes removed, a doubled quote single.
std::string unquote(std::string_view raw) {
  std::string text;
  const char q = raw[0];
  for (std::size_t i = 1; i < raw.size(); ++i) {
    if (raw[i] == q) {
      if (i + 1 >= raw.size() || raw[i + 1] != q) break;
      ++i;
    }
    text += raw[i];
  }
  return text;
}

// The first item of a text when it is an unquoted one.
bool first_plain_item(std::string_view text, std::string_view& item) {
  std::size_t p = 0;
  bool after = false;
  RawItem it;
  if (next_item(text, p, after, it) != Token::Item || it.quoted) return false;
  item = it.raw;
  return true;
}

}  // namespace

bool read_int_field(std::string_view field, int& v) {
  Scanner sc(field, true);
  if (sc.at_end()) {
    v = 0;
    return true;
  }
  return scan_int(sc, v);
}

bool read_real_field(std::string_view field, int d, double& v) {
  Scanner sc(field, true);
  if (sc.at_end()) {
    v = 0.0;
    return true;
  }
  return scan_real(sc, field.size(), d, false, v);
}

std::vector<FreeItem> free_items(std::string_view line, std::size_t max_items, std::size_t* end) {
  std::vector<FreeItem> items;
  std::size_t p = 0;
  bool after = false;
  RawItem it;
  while (items.size() < max_items) {
    const Token t = next_item(line, p, after, it);
    if (t == Token::End) break;
    FreeItem item;
    item.null = t == Token::Null;
    if (t == Token::Item) item.text = it.quoted ? unquote(it.raw) : std::string(it.raw);
    items.push_back(std::move(item));
  }
  if (end) *end = p;
  return items;
}

bool parse_int_item(std::string_view item, int& v) {
  Scanner sc(item, false);
  return scan_int(sc, v);
}

bool parse_real_item(std::string_view item, double& v) {
  Scanner sc(item, false);
  return scan_real(sc, item.size(), 0, true, v);
}

bool read_free_int(std::string_view text, int& v) {
  std::string_view item;
  return first_plain_item(text, item) && parse_int_item(item, v);
}

bool read_free_real(std::string_view text, double& v) {
  std::string_view item;
  return first_plain_item(text, item) && parse_real_item(item, v);
}

}  // namespace platform
