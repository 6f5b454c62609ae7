#include "platform/file_identity.h"

#include <filesystem>
#include <string>
#include <system_error>

#include <sys/stat.h>

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

namespace {

constexpr int kMaxLinks = 40;  // as the system follows them

// The target of link, relative to the folder it lies in.
fs::path link_target(const fs::path& link, std::error_code& ec) {
  const fs::path target = fs::read_symlink(link, ec);
  return target.is_absolute() ? target : link.parent_path() / target;
}

}  // namespace

std::string absolute_name(std::string_view name) {
  const std::string given(rtrim(name));
  if (given.empty()) return given;
  std::error_code ec;
  const fs::path absolute = fs::absolute(given, ec);
  if (ec) return given;
  fs::path resolved = fs::weakly_canonical(absolute, ec);
  if (ec) return absolute.lexically_normal().string();
  // Every link that leads somewhere is resolved; one left at the end leads
  // to a file that does not exist yet.
  for (int n = 0; n < kMaxLinks && fs::is_symlink(fs::symlink_status(resolved, ec)); ++n) {
    const fs::path target = link_target(resolved, ec);
    if (ec) break;
    const fs::path next = fs::weakly_canonical(target, ec);
    if (ec) break;
    resolved = next;
  }
  return resolved.string();
}

std::string console_file(int stream) {
  struct stat st {};
  if (::fstat(stream, &st) != 0 || !S_ISREG(st.st_mode)) return "";
  return "/proc/self/fd/" + std::to_string(stream);
}

int standard_stream(std::string_view name) {
  const std::string given(rtrim(name));
  if (given.empty()) return 0;
  std::error_code ec;
  fs::path p = fs::absolute(given, ec);
  // The descriptors of this process, under both names /proc gives them.
  std::error_code none;
  const fs::path fds = fs::canonical("/proc/self/fd", none);
  const fs::path threadFds = fs::canonical("/proc/thread-self/fd", none);
  if (ec || fds.empty()) return 0;
  for (int n = 0; n < kMaxLinks; ++n) {
    const fs::path folder = fs::weakly_canonical(p.parent_path(), ec);
    if (ec) return 0;
    const std::string leaf = p.filename().string();
    if ((folder == fds || folder == threadFds) && (leaf == "1" || leaf == "2")) {
      return leaf[0] - '0';
    }
    const fs::path at = folder / p.filename();
    if (!fs::is_symlink(fs::symlink_status(at, ec))) return 0;
    p = link_target(at, ec);
    if (ec) return 0;
  }
  return 0;
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

}  // namespace platform
