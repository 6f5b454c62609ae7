// Writing one record to a unit, for every routine of the program.
#pragma once
#include <initializer_list>
#include <string_view>

namespace framework {

// Writes one record to unit lfn.
void write_line(int lfn, std::string_view text);

// Writes several records in order.
void write_lines(int lfn, std::initializer_list<std::string_view> lines);

}  // namespace framework
