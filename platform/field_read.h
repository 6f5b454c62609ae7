// Reading numbers from fixed columns and free-format (list-directed) items.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// In from a field: blanks anywhere are ignored, an all-blank field is 0, a
// leading sign is allowed; anything else fails (false, v unchanged).
bool read_int_field(std::string_view field, int& v);

// Fw.d from a field: as read_int_field, with a decimal point taken where the
// text has one and d implied decimals otherwise; an exponent (E or D) is
// accepted after the digits.
bool read_real_field(std::string_view field, int d, double& v);

// One free-format item of a line.
struct FreeItem {
  std::string text;   // the item's characters (quotes removed, doubled quotes single)
  bool null = false;  // an empty item between two commas
};

// Splits a line into free-format items: separated by blanks or one comma,
// quoted with " or ' (a doubled quote stands for one), an unquoted slash ends
// the list. At most max_items items are taken. Returns the items found.
std::vector<FreeItem> free_items(std::string_view line, std::size_t max_items = 1000000);

// A free-format integer item: optional sign and decimal digits only.
bool parse_int_item(std::string_view item, int& v);

// A free-format real item: sign, digits, point, exponent with E or D.
bool parse_real_item(std::string_view item, double& v);

// The first free-format integer in a text (blanks, commas around it);
// false when there is none or it is not an integer.
bool read_free_int(std::string_view text, int& v);

// The first free-format real in a text; false when none or not a number.
bool read_free_real(std::string_view text, double& v);

}  // namespace platform
