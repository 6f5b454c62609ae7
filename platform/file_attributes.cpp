#include "platform/file_attributes.h"

#include <sys/xattr.h>

#include <cerrno>
#include <string>
#include <vector>

namespace platform {
namespace {

constexpr const char* kAccessAcl = "system.posix_acl_access";

bool no_attributes(int err) { return err == ENOTSUP || err == ENODATA; }

// The names of the attributes of fd, or the error number.
int attribute_names(int fd, std::vector<std::string>* names) {
  for (;;) {
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    if (size < 0) return no_attributes(errno) ? 0 : errno;
    std::string list(static_cast<std::size_t>(size), '\0');
    const ssize_t got = size == 0 ? 0 : ::flistxattr(fd, list.data(), list.size());
    if (got < 0 && errno == ERANGE) continue;  // grown meanwhile
    if (got < 0) return errno;
    for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
      const std::size_t end = list.find('\0', at);
      names->push_back(list.substr(at, end - at));
      at = end + 1;
    }
    return 0;
  }
}

// The value of attribute name of fd; false with errno set when there is none.
bool attribute_value(int fd, const std::string& name, std::string* value) {
  for (;;) {
    const ssize_t size = ::fgetxattr(fd, name.c_str(), nullptr, 0);
    if (size < 0) return false;
    value->assign(static_cast<std::size_t>(size), '\0');
    const ssize_t got = size == 0 ? 0 : ::fgetxattr(fd, name.c_str(), value->data(), value->size());
    if (got >= 0) {
      value->resize(static_cast<std::size_t>(got));
      return true;
    }
    if (errno != ERANGE) return false;
  }
}

int copy_one(int from, int to, const std::string& name) {
  std::string value, present;
  if (!attribute_value(from, name, &value)) return errno == ENODATA ? 0 : errno;  // removed meanwhile
  if (attribute_value(to, name, &present) && present == value) return 0;
  return ::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) == 0 ? 0 : errno;
}

}  // namespace

int copy_attributes(int from, int to, std::string* failed) {
  std::vector<std::string> names;
  int err = attribute_names(from, &names);
  if (err != 0) {
    *failed = "(the list of attributes)";
    return err;
  }
  bool accessAcl = false;
  for (const std::string& name : names) {
    accessAcl = accessAcl || name == kAccessAcl;
    if ((err = copy_one(from, to, name)) != 0) {
      *failed = name;
      return err;
    }
  }
  if (!accessAcl && ::fremovexattr(to, kAccessAcl) != 0 && !no_attributes(errno)) {
    *failed = kAccessAcl;
    return errno;
  }
  return 0;
}

}  // namespace platform
