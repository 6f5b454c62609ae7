// What a protocol file is, from its first bytes and lines.
#include <string>
#include <string_view>

#include "framework/m_tolk.h"
#include "input_check/check_parts.h"
#include "platform/units.h"

namespace input_check {

namespace {

// Lines looked at for the program's name.
constexpr int kHeadLines = 10;

struct Magic {
  std::string_view bytes;
  const char* format;
};
constexpr Magic kMagic[] = {
    {"\x1F\x8B", "gzip"}, {"BZh", "bzip2"}, {std::string_view("\xFD" "7zXZ\0", 6), "xz"}};

}  // namespace

ProtocolLook look_at_protocol(const std::string& opened) {
  ProtocolLook look;
  const int lfn = framework::m_tolk.lfnWork;
  if (platform::open_unit(lfn, opened, platform::OpenStatus::Old, true) != 0) return look;
  std::string rec;
  for (int line = 1; line <= kHeadLines; ++line) {
    if (platform::read_record(lfn, rec, 256) != platform::ReadStatus::Ok) {
      look.empty = line == 1;
      break;
    }
    for (const Magic& m : kMagic) {
      if (line == 1 && rec.compare(0, m.bytes.size(), m.bytes) == 0) look.compressed = m.format;
    }
    if (look.compressed) break;
    look.namesTrjfit = look.namesTrjfit || rec.find("TRJFIT") != std::string::npos;
  }
  platform::close_unit(lfn);
  return look;
}

}  // namespace input_check
