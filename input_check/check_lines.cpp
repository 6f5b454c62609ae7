// The line rules of the input file, checked on the scan of its lines.
#include <map>

#include "input/d_inpkey.h"
#include "input/keyword_line.h"
#include "input_check/check_parts.h"
#include "input_check/edit_distance.h"
#include "input_check/fitchk_keywords.h"
#include "platform/field_read.h"
#include "platform/fixed_text.h"
#include "timeutil/upperc.h"

namespace input_check {

namespace {

constexpr std::size_t kShown = 40;

std::string shortened(const std::string& text) {
  return text.size() <= kShown ? text : text.substr(0, kShown) + "...";
}

bool is_quote(char c) { return c == '"' || c == '\''; }

// Blanks and tabs separate the items of a line alike.
bool is_separator(char c) { return c == ' ' || c == '\t'; }

std::string left_trimmed(const std::string& text) {
  std::size_t p = 0;
  while (p < text.size() && is_separator(text[p])) ++p;
  return text.substr(p);
}

// The text of a keyword line after its count (and the blanks, tabs and
// comma that separate it).
std::string after_count(const std::string& line) {
  std::size_t p = 0;
  platform::free_items(line, 2, &p);
  while (p < line.size() && is_separator(line[p])) ++p;
  if (p < line.size() && line[p] == ',') ++p;
  while (p < line.size() && is_separator(line[p])) ++p;
  return std::string(platform::rtrim(line.substr(std::min(p, line.size()))));
}

// Quotation marks that editors and word processors put in place of '"'
// (UTF-8): the run takes them as characters of the value.
constexpr std::string_view kTypographicQuotes[] = {
    "\u201C", "\u201D", "\u201E", "\u201F", "\u2018", "\u2019", "\u201A",
    "\u201B", "\u00AB", "\u00BB", "\u2039", "\u203A", "\uFF02", "\u2033"};

// Length of the typographic quotation mark at pos of text; 0 for none.
std::size_t typographic_quote_at(const std::string& text, std::size_t pos) {
  for (std::string_view q : kTypographicQuotes) {
    if (text.compare(pos, q.size(), q) == 0) return q.size();
  }
  return 0;
}

// The text inside the typographic quotes that text begins with: up to the
// last such quote, or to its end.
std::string inside_typographic_quotes(const std::string& text) {
  const std::size_t open = typographic_quote_at(text, 0);
  std::size_t close = std::string::npos;
  for (std::size_t p = open; p < text.size(); ++p) {
    if (typographic_quote_at(text, p) > 0) close = p;
  }
  const std::size_t length = close == std::string::npos ? close : close - open;
  return std::string(platform::rtrim(text.substr(open, length)));
}

// Length of a typographic quotation mark at pos that closes an item (a
// blank, a tab or the end of the text follows it); 0 for none.
std::size_t closing_quote_at(const std::string& text, std::size_t pos) {
  const std::size_t q = typographic_quote_at(text, pos);
  return q > 0 && (pos + q == text.size() || is_separator(text[pos + q])) ? q : 0;
}

// The items of a line of two values ("P" "." of ENVIRONMENT) as a person
// reads them: separated by blanks or tabs, each in plain or typographic
// quotes or none.
std::vector<std::string> line_items(const std::string& text) {
  std::vector<std::string> items;
  std::size_t p = 0;
  for (;;) {
    while (p < text.size() && is_separator(text[p])) ++p;
    if (p >= text.size()) return items;
    std::size_t from = p, end = p, next = p;
    if (const std::size_t open = typographic_quote_at(text, p)) {
      from = end = p + open;
      while (end < text.size() && closing_quote_at(text, end) == 0) ++end;
      next = end + (end < text.size() ? closing_quote_at(text, end) : 0);
    } else if (text[p] == '"') {
      from = p + 1;
      end = std::min(text.find('"', from), text.size());
      next = end + 1;
    } else {
      end = next = std::min(text.find_first_of(" \t", p), text.size());
    }
    items.push_back(text.substr(from, end - from));
    p = next;
  }
}

// The items of a line, each in plain double quotes.
std::string plain_quoted_items(const std::string& text) {
  std::string line;
  for (const std::string& item : line_items(text)) line += (line.empty() ? "" : " ") + quoted(item);
  return line;
}

bool is_real_option(const std::string& name) {
  const FitchkKeyword* k = find_keyword(name);
  return k && k->kind == KeyKind::Real;
}

bool decimal_comma(const std::string& text) {
  const std::size_t c = text.find(',');
  return c != std::string::npos && c > 0 && c + 1 < text.size() &&
         text.find_first_not_of("+-0123456789", 0) == c &&
         text.find_first_not_of("0123456789", c + 1) == std::string::npos;
}

bool ends_with_typographic_quote(const std::string& text) {
  for (std::string_view q : kTypographicQuotes) {
    if (text.size() > q.size() && text.compare(text.size() - q.size(), q.size(), q) == 0) return true;
  }
  return false;
}

// A value in typographic quotes (“...”), which the run reads as part of it;
// true when found. Inside plain double quotes only a value that begins and
// ends with one counts (a title may quote a word).
bool check_typographic(CheckContext& ctx, int line, const std::string& name,
                       const std::string& text, const std::string& value, bool valueLine) {
  const bool plainQuotes = !text.empty() && text[0] == '"';
  const std::string& marked = plainQuotes ? value : text;
  if (typographic_quote_at(marked, 0) == 0) return false;
  if (plainQuotes && !ends_with_typographic_quote(std::string(platform::rtrim(value)))) return false;
  const std::string inside = inside_typographic_quotes(marked);
  std::string read = quoted(shortened(value));
  if (!plainQuotes && value != text) {
    const bool prefix = text.compare(0, value.size(), value) == 0;
    const char end = prefix && value.size() < text.size() ? text[value.size()] : ' ';
    read += std::string(", cut at the ") +
            (end == ' ' ? "blank" : end == '\t' ? "tab" : quoted(std::string(1, end)));
  }
  // A line of ENVIRONMENT holds a name and a value.
  const std::string fix = !plainQuotes && name == "ENVIRONMENT" ? plain_quoted_items(text)
                                                                 : quoted(inside);
  ctx.diag.warning(line, name + ": the run takes the typographic quotes for characters of the "
                                "value and reads " + read + "; write " +
                             (valueLine ? "" : name + " 1 ") + fix + " (plain double quotes)");
  return true;
}

// A line of ENVIRONMENT whose name and value are not both in double quotes:
// the run keeps its first item alone, which defines no variable; true when
// found.
bool check_environment_line(CheckContext& ctx, int line, const std::string& text,
                            const std::string& value, bool valueLine) {
  int pos = 0;
  if (input::CHRCOUNT("\"", text, pos) >= 3) return false;  // the run reads the whole line
  if (line_items(text).size() < 2) return false;
  ctx.diag.warning(line, "ENVIRONMENT: the run takes " + quoted(value) +
                             " alone from this line, which defines no variable (the name and "
                             "the value each need double quotes); write " +
                             (valueLine ? "" : "ENVIRONMENT 1 ") + plain_quoted_items(text));
  return true;
}

// An unquoted value that the run cuts: what it reads and what it drops.
void check_cut(CheckContext& ctx, int line, const std::string& name, const std::string& text,
               const std::string& value, bool valueLine) {
  if (check_typographic(ctx, line, name, text, value, valueLine)) return;
  if (name == "ENVIRONMENT" && check_environment_line(ctx, line, text, value, valueLine)) return;
  if (text.empty() || is_quote(text[0]) || value == text) return;
  int pos = 0;
  if (input::CHRCOUNT("\"", text, pos) >= 3) return;
  const bool prefix = text.compare(0, value.size(), value) == 0;
  const char end = prefix && value.size() < text.size() ? text[value.size()] : ' ';
  const std::string at = end == ' '    ? "the blank"
                         : end == '\t' ? "the tab"
                                       : "the " + quoted(std::string(1, end));
  const std::string rest = prefix ? text.substr(value.size()) : text;
  std::string advice = valueLine ? "write " + quoted(text) : "write " + name + " 1 " + quoted(text);
  if (is_real_option(name) && decimal_comma(text)) {
    std::string dot = text;
    dot[dot.find(',')] = '.';
    advice = "write " + dot;
  }
  ctx.diag.warning(line, name + ": the run reads " + quoted(value) + " (an unquoted value ends at " +
                             at + "; " + quoted(shortened(rest)) + " is dropped); " + advice);
}

// Why a keyword line cannot be decoded.
std::string decoding_reason(const std::string& line) {
  const std::string trimmed = left_trimmed(line);
  const bool comment = !trimmed.empty() && std::string_view("#!*").find(trimmed[0]) != std::string_view::npos;
  if (line[0] == '\t' && comment) {
    return "a comment begins in the first column or after blanks; after a tab it is none";
  }
  const std::vector<platform::FreeItem> items = platform::free_items(line, 2);
  if (items.size() < 2) return "no count after " + quoted(shortened(items.empty() ? line : items[0].text));
  if (items[1].null) return "the count is empty";
  return "the count " + quoted(items[1].text) + " is not a whole number";
}

bool looks_like_value(const std::string& line) {
  std::string name;
  int n = 0;
  const std::string trimmed = left_trimmed(line);
  return (!trimmed.empty() && is_quote(trimmed[0])) || !input::decode_keyword_line(line, name, n);
}

// A line that reads as a keyword line of a keyword the input file may hold.
bool known_keyword_line(const std::string& line, std::string& name) {
  int n = 0;
  if (!input::decode_keyword_line(line, name, n)) return false;
  name = platform::cut(name, 32);
  return find_keyword(name) != nullptr || other_known_keyword(name);
}

void check_count(CheckContext& ctx, std::size_t i) {
  const ScannedKey& key = ctx.scan.keys[i];
  const std::string name = platform::cut(key.name, 32);
  if (key.count < 0) {
    ctx.diag.warning(key.line, "the count " + std::to_string(key.count) + " is negative: " + name +
                                   " has no value");
  }
  if (key.count == 1) {
    const std::string value = input::line_value(key.text, 2, true);
    const std::string next = i + 1 < ctx.scan.keys.size() ? ctx.scan.keys[i + 1].text : ctx.scan.badText;
    const int nextLine = i + 1 < ctx.scan.keys.size() ? ctx.scan.keys[i + 1].line : ctx.scan.badLine;
    if (platform::is_blank(value) && !next.empty() && looks_like_value(next)) {
      ctx.diag.warning(key.line, "the count 1 takes the value from this line, which has none; line " +
                                     std::to_string(nextLine) +
                                     " is read as a keyword line (write " + name +
                                     " 1 \"value\" on one line, or the number of value lines)");
    } else {
      check_cut(ctx, key.line, name, after_count(key.text), value, false);
    }
  }
  if (key.count < 2) return;
  std::vector<std::string> keywords;
  for (std::size_t k = 0; k < key.valueTexts.size(); ++k) {
    std::string other;
    if (known_keyword_line(key.valueTexts[k], other)) {
      keywords.push_back(other);
      continue;
    }
    const std::string& text = key.valueTexts[k];
    check_cut(ctx, key.valueLines[k], name, left_trimmed(text), input::line_value(text, 0, false),
              true);
  }
  if (!keywords.empty()) {
    std::string list;
    for (const std::string& k : keywords) list += (list.empty() ? "" : ", ") + k;
    const std::string n = std::to_string(key.count);
    const std::string they = keywords.size() == key.valueTexts.size()
                                 ? "they look like keyword lines ("
                                 : std::to_string(keywords.size()) + " of them look like keyword lines (";
    ctx.diag.warning(key.line, "the count " + n + " takes the next " + n + " lines as values of " +
                                   name + "; " + they + list + ")");
  }
  if (static_cast<int>(key.valueTexts.size()) < key.count) {
    ctx.diag.warning(key.line, "the file ends after " + std::to_string(key.valueTexts.size()) +
                                   " of the " + std::to_string(key.count) + " values of " + name);
  }
}

// A keyword FITCHK does not read but that is close to one it reads.
void check_typo(CheckContext& ctx, const ScannedKey& key) {
  const std::string name = platform::cut(key.name, 32);
  if (find_keyword(name) || other_known_keyword(name)) return;
  std::string upper = name;
  timeutil::UPPERC(upper);
  const FitchkKeyword* best = nullptr;
  int bestDistance = 3;
  for (const FitchkKeyword& k : fitchk_keywords()) {
    const int d = upper == k.name ? 0 : edit_distance(name, k.name);
    if (d < bestDistance) {
      best = &k;
      bestDistance = d;
    }
  }
  if (!best) return;
  ctx.diag.warning(key.line, name + " is not a keyword of FITCHK" +
                                 (bestDistance == 0 ? " (keywords are case-sensitive)" : "") +
                                 "; did you mean " + best->name + "?");
}

}  // namespace

void check_long_lines(CheckContext& ctx) {
  for (const LongLine& l : ctx.scan.longLines) {
    bool refused = false;
    for (const input::NameFault& f : ctx.refused) {
      refused = refused ||
                (f.why == input::TooLong::LineCut && ctx.value_line(f.keyWord, f.item) == l.line);
    }
    if (refused) continue;
    ctx.diag.warning(l.line, "the line has " + std::to_string(l.length) +
                                 " characters; the run reads the first 255 and drops " +
                                 quoted(shortened(l.dropped)));
  }
}

void check_lines(CheckContext& ctx) {
  if (ctx.scan.byteOrderMark) {
    ctx.diag.note(1, "the file begins with a UTF-8 byte-order mark (some editors write one): the "
                     "run reads past it");
  }
  if (ctx.scan.blankStop > 0) {
    ctx.diag.warning(ctx.scan.blankStop,
                     "more than 1000 blank lines in a row: the run stops reading the file here");
  }
  if (ctx.scan.badLine > 0) {
    ctx.diag.error(ctx.scan.badLine, "the run cannot decode this keyword line (" +
                                         decoding_reason(ctx.scan.badText) +
                                         ") and stops with \"Error decoding keyword line\"");
  }
  std::map<std::string, int> first;
  for (std::size_t i = 0; i < ctx.scan.keys.size(); ++i) {
    const ScannedKey& key = ctx.scan.keys[i];
    const std::string name = platform::cut(key.name, 32);
    check_count(ctx, i);
    check_typo(ctx, key);
    if (!find_keyword(name)) continue;
    const auto [it, isNew] = first.emplace(name, key.line);
    if (isNew) continue;
    const std::string firstLine = std::to_string(it->second);
    ctx.diag.warning(key.line, name + " is given again (first at line " + firstLine + "): " +
                                   (name == "DELETE_FILES" ? "this list replaces that one"
                                                           : "the run reads the first"));
  }
}

}  // namespace input_check
