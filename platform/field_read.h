// Reading numbers from fixed columns and free-format (list-directed) items.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// In from a field: blanks anywhere are ignored, an all-blank field is 0, a
// leading sign is allowed (a sign alone is not a number); anything else,
// a tab included, fails (false, v unchanged), as does a value beyond int.
bool read_int_field(std::string_view field, int& v);

// Fw.d from a field: as read_int_field, with a decimal point taken where the
// text has one and d implied decimals otherwise. No exponent: "1.5E2",
// "1.5D2" and "1.5-2" fail. At least one digit is needed; overflow fails,
// underflow reads as 0.
bool read_real_field(std::string_view field, int d, double& v);

// One free-format item of a line.
struct FreeItem {
  std::string text;   // the item's characters (quotes removed, doubled quotes single)
  bool null = false;  // an empty item between two commas
};

// Splits a line into free-format items: separated by blanks (or tabs) or one
// comma, quoted with " or ' (a doubled quote stands for one; an unterminated
// quote runs to the end of the line; text right after a closing quote starts
// the next item), an unquoted slash ends the list. A comma with no item
// before it gives a null item; a trailing comma does not. At most max_items
// items are taken. Returns the items found; end, when given, receives the
// position behind the last item taken.
std::vector<FreeItem> free_items(std::string_view line, std::size_t max_items = 1000000,
                                 std::size_t* end = nullptr);

// A free-format integer item: optional sign and decimal digits only, within
// int; false (v unchanged) otherwise. No repeat counts (r*c).
bool parse_int_item(std::string_view item, int& v);

// A free-format real item: sign, digits, point, exponent with E or D (or a
// bare signed exponent); no blanks, no implied decimals. At least one
// mantissa digit; infinity, NaN and overflow fail, underflow reads as 0.
bool parse_real_item(std::string_view item, double& v);

// The first free-format integer in a text (blanks, commas around it);
// false when there is none (empty, a null first item, a slash) or it is not
// an integer (a quoted item never is).
bool read_free_int(std::string_view text, int& v);

// The first free-format real in a text; false when none or not a number.
bool read_free_real(std::string_view text, double& v);

}  // namespace platform
