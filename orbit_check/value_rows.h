// Lists of integer fields that continue on further lines.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace orbit_check {

// head followed by the values as I<width> fields, perLine to a line; further
// lines begin with as many blanks as head is long. No values: head alone.
std::vector<std::string> value_rows(std::string_view head, const std::vector<long long>& values,
                                    int width, int perLine);

}  // namespace orbit_check
