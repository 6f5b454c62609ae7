#include "platform/fixed_text.h"
#include "satcrux/d_satcrx.h"

namespace satcrux {

namespace {

constexpr std::size_t kHeaderLines = 6;
constexpr std::size_t kLineLength = 255;  // what the reader keeps of a line

}  // namespace

ReadStop read_stop(const std::vector<std::string>& lines) {
  ReadStop stop;
  for (std::size_t i = kHeaderLines; i < lines.size(); ++i) {
    const std::string_view line = std::string_view(lines[i]).substr(0, kLineLength);
    // Blank columns 1-6 end the records: the reader stops there as well.
    if (platform::is_blank(platform::col(line, 1, 6))) return stop;
    if (stop.line != 0) continue;
    std::string why = record_end_reason(line);
    if (!why.empty()) stop = {static_cast<int>(i + 1), std::move(why)};
  }
  return {};  // records without an end: the file has no place for new ones
}

}  // namespace satcrux
