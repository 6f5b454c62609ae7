#include "platform/file_identity.h"

#include <filesystem>
#include <system_error>

#include "platform/fixed_text.h"

namespace platform {

namespace fs = std::filesystem;

bool same_existing_file(std::string_view a, std::string_view b) {
  const fs::path pa(std::string(rtrim(a)));
  const fs::path pb(std::string(rtrim(b)));
  if (pa.empty() || pb.empty()) return false;
  std::error_code ec;
  if (!fs::exists(pa, ec) || !fs::exists(pb, ec)) return false;
  return fs::equivalent(pa, pb, ec) && !ec;
}

std::string absolute_name(std::string_view name) {
  const std::string given(rtrim(name));
  if (given.empty()) return given;
  std::error_code ec;
  const fs::path absolute = fs::absolute(given, ec);
  if (ec) return given;
  const fs::path resolved = fs::weakly_canonical(absolute, ec);
  return ec ? absolute.lexically_normal().string() : resolved.string();
}

namespace {

// The status of an existing file, following links; none for a missing one.
fs::file_status status_of(std::string_view name) {
  const fs::path p(std::string(rtrim(name)));
  if (p.empty()) return fs::file_status(fs::file_type::not_found);
  std::error_code ec;
  const fs::file_status st = fs::status(p, ec);
  return ec ? fs::file_status(fs::file_type::not_found) : st;
}

}  // namespace

bool is_device(std::string_view name) {
  const fs::file_status st = status_of(name);
  return fs::is_character_file(st) || fs::is_block_file(st);
}

bool is_fifo(std::string_view name) { return fs::is_fifo(status_of(name)); }

unsigned long link_count(std::string_view name) {
  const std::string n(rtrim(name));
  std::error_code ec;
  const std::uintmax_t links = n.empty() ? 0 : fs::hard_link_count(n, ec);
  return ec ? 0 : static_cast<unsigned long>(links);
}

bool any_write_bit(std::string_view name) {
  const fs::file_status st = status_of(name);
  constexpr fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  return fs::exists(st) && (st.permissions() & write) != fs::perms::none;
}

}  // namespace platform
