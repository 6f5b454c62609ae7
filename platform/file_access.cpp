#include "platform/file_access.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/fixed_text.h"
#include "platform/units.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr int kErrNotDirectory = 20;

int status_of_error(const std::error_code& ec) {
  if (ec == std::errc::no_such_file_or_directory) return kErrNotFound;
  if (ec == std::errc::not_a_directory) return kErrNotDirectory;
  if (ec == std::errc::permission_denied) return kErrAccess;
  if (ec == std::errc::too_many_symbolic_link_levels) return ELOOP;
  return kErrOpen;
}

}  // namespace

int read_access(std::string_view name) {
  const std::string n(rtrim(name));
  if (n.empty()) return kErrNotFound;
  std::error_code ec;
  const fs::file_status st = fs::status(n, ec);
  if (ec) return status_of_error(ec);
  if (!fs::exists(st)) return kErrNotFound;
  if (fs::is_directory(st)) return kErrIsDirectory;
  return ::access(n.c_str(), R_OK) == 0 ? 0 : (errno == EACCES ? kErrAccess : kErrOpen);
}

int write_access(std::string_view name, std::string& folder) {
  folder.clear();
  const std::string n(rtrim(name));
  if (n.empty()) return kErrNotFound;
  std::error_code ec;
  const fs::file_status st = fs::status(n, ec);
  if (ec == std::errc::too_many_symbolic_link_levels) return ELOOP;
  if (!ec && fs::exists(st)) {
    if (fs::is_directory(st)) return kErrIsDirectory;
    return ::access(n.c_str(), W_OK) == 0 ? 0 : kErrAccess;
  }
  fs::path parent = fs::absolute(n, ec).lexically_normal().parent_path();
  if (parent.empty()) parent = ".";
  folder = parent.string();
  const fs::file_status pst = fs::status(parent, ec);
  if (ec && ec != std::errc::no_such_file_or_directory) return status_of_error(ec);
  if (!fs::exists(pst)) return kErrNotFound;
  if (!fs::is_directory(pst)) return kErrNotDirectory;
  return ::access(folder.c_str(), W_OK | X_OK) == 0 ? 0 : kErrAccess;
}

bool no_write_permission(std::string_view name) {
  std::error_code ec;
  const fs::file_status st = fs::status(std::string(rtrim(name)), ec);
  if (ec || !fs::exists(st)) return false;
  const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  return (st.permissions() & write) == fs::perms::none;
}

std::string access_words(int status) {
  switch (status) {
    case 0: return "can be used";
    case kErrNotFound: return "no such file";
    case kErrIsDirectory: return "is a folder";
    case kErrAccess: return "permission denied";
    case kErrNotDirectory: return "a part of the path is not a folder";
    case ELOOP: return "its links lead in a circle";
    default: return "cannot be opened";
  }
}

}  // namespace platform
