#include "platform/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/fixed_text.h"
#include "platform/new_file.h"
#include "platform/units.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinkHops = 40;

// The file a name leads to, links followed; for a link whose target does
// not exist yet, that target; the name itself when it does not exist.
std::string target_of(const std::string& name) {
  char buf[PATH_MAX];
  if (::realpath(name.c_str(), buf)) return buf;
  std::string path = name;
  bool followed = false;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
    const ssize_t n = ::readlink(path.c_str(), buf, sizeof buf - 1);
    if (n < 0) break;
    const fs::path link(std::string(buf, static_cast<std::size_t>(n)));
    path = (link.is_absolute() ? link : fs::path(path).parent_path() / link).string();
    followed = true;
  }
  if (!followed) return name;
  const fs::path p(path);
  const std::string parent = p.has_parent_path() ? p.parent_path().string() : ".";
  if (::realpath(parent.c_str(), buf)) return (fs::path(buf) / p.filename()).string();
  return path;
}

// Where the new file goes and what it inherits from the old one.
struct Target {
  std::string path;  // the file replaced
  std::string dir;   // its directory
  std::string base;  // its name in the directory
  bool exists = false;
  int err = 0;  // why it does not exist: ELOOP for links that lead in a circle
  struct stat st {};
};

Target describe(const std::string& name) {
  Target t;
  t.path = target_of(name);
  t.exists = ::stat(t.path.c_str(), &t.st) == 0;
  if (!t.exists) t.err = errno;
  const fs::path p(t.path);
  t.dir = p.has_parent_path() ? p.parent_path().string() : ".";
  t.base = p.filename().string();
  return t;
}

int open_folder(const std::string& dir) {
  return ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// Writes a device or FIFO in place.
int write_in_place(const std::string& name, std::string_view content) {
  const int fd = ::open(name.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return status_of(errno);
  const bool ok = write_all(fd, content);
  return ::close(fd) == 0 && ok ? 0 : kErrWrite;
}

// The new file written and renamed over the target in folder dirFd.
int replace_in(int dirFd, const Target& t, std::string_view content, bool* replaced) {
  OldFile old;
  old.exists = t.exists;
  old.st = t.st;
  // Its attributes where they can be had; an output keeps what it can.
  if (t.exists) old.fd = ::openat(dirFd, t.base.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  NewFile file;
  int status = write_new_file(dirFd, t.base, old, content, &file);
  if (old.fd >= 0) ::close(old.fd);
  if (status == 0 &&
      (injected_failure() || ::renameat(dirFd, file.name.c_str(), dirFd, t.base.c_str()) != 0)) {
    status = status_of(errno);
    ::unlinkat(dirFd, file.name.c_str(), 0);
  }
  if (status == 0) *replaced = true;
  // Closed only now: until the rename its lock marks the new file in use.
  const int closed = close_new_file(file);
  if (status != 0) return status;
  return closed != 0 ? closed : sync_folder(dirFd);
}

}  // namespace

int replace_file(std::string_view name_in, std::string_view content, bool* replaced) {
  start_step_count();
  bool unused = false;
  bool& done = replaced ? *replaced : unused;
  done = false;
  const std::string name = std::string(rtrim(name_in));
  if (name.empty()) return kErrNotFound;
  const Target t = describe(name);
  // Links that lead in a circle name no file: none takes the place of one.
  if (t.err == ELOOP) return status_of(ELOOP);
  if (t.exists && S_ISDIR(t.st.st_mode)) return kErrIsDirectory;
  if (t.exists && !S_ISREG(t.st.st_mode)) return write_in_place(t.path, content);
  const int dirFd = open_folder(t.dir);
  if (dirFd < 0) return status_of(errno);
  const int status = replace_in(dirFd, t, content, &done);
  ::close(dirFd);
  return status;
}

int remove_file(std::string_view name) {
  const Target t = describe(std::string(rtrim(name)));
  if (!t.exists || !S_ISREG(t.st.st_mode)) return t.exists ? kErrIsDirectory : 0;
  return ::unlink(t.path.c_str()) == 0 ? 0 : status_of(errno);
}

void remove_leftovers(std::string_view name) {
  const Target t = describe(std::string(rtrim(name)));
  if (t.exists && !S_ISREG(t.st.st_mode)) return;  // a device or FIFO is written in place
  const int dirFd = open_folder(t.dir);
  if (dirFd < 0) return;
  remove_leftovers_at(dirFd, t.base, t.exists ? t.st.st_uid : ::geteuid());
  ::close(dirFd);
}

void FileLock::release() {
  if (fd_ >= 0) ::close(fd_);  // closing the description drops its lock
  fd_ = -1;
}

namespace {

bool same_file(int fd, const std::string& name) {
  struct stat a {}, b {};
  return ::fstat(fd, &a) == 0 && ::stat(name.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

}  // namespace

int lock_file(std::string_view name_in, FileLock& lock, double waitSeconds, LockFailure* why) {
  lock.release();
  LockFailure unused;
  LockFailure& failure = why ? *why : unused;
  failure = LockFailure{};
  const std::string name = std::string(rtrim(name_in));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(waitSeconds);
  auto pause = std::chrono::microseconds(200);
  for (;;) {
    struct stat st {};
    failure = LockFailure{true, 0};
    if (::stat(name.c_str(), &st) != 0) {
      failure.err = errno;
      return errno == ENOENT ? kErrNotFound : status_of(errno);
    }
    if (!S_ISREG(st.st_mode)) return 0;
    // Only a run that may write the file updates it, so one kind of lock
    // serves every run.
    const int fd = ::open(name.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
      failure.err = errno;
      return errno == ENOENT ? kErrNotFound : status_of(errno);
    }
    failure = LockFailure{false, 0};
    int rc;
    while ((rc = try_write_lock(fd)) == EAGAIN || rc == EINTR) {
      if (std::chrono::steady_clock::now() >= deadline) break;
      std::this_thread::sleep_for(pause);
      pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
    if (rc == 0 && same_file(fd, name)) {
      lock.fd_ = fd;
      return 0;
    }
    ::close(fd);  // replaced while we waited: lock the new file
    if (rc == EAGAIN || rc == EINTR) return kErrLockTimeout;
    if (rc != 0) {
      failure.err = rc;
      return status_of(rc);
    }
  }
}

}  // namespace platform
