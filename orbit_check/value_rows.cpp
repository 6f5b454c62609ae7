#include "orbit_check/value_rows.h"

#include "platform/fortran_format.h"

namespace orbit_check {

std::vector<std::string> value_rows(std::string_view head, const std::vector<long long>& values,
                                    int width, int perLine) {
  std::vector<std::string> rows;
  std::string row(head);
  const std::string indent(head.size(), ' ');
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0 && i % static_cast<std::size_t>(perLine) == 0) {
      rows.push_back(row);
      row = indent;
    }
    row += platform::fmt_i(values[i], width);
  }
  rows.push_back(row);
  return rows;
}

}  // namespace orbit_check
