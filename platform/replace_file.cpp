#include "platform/replace_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "platform/fixed_text.h"
#include "platform/units.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// Name prefix of the new files next to a target: ".<name>.fitchk-".
constexpr std::string_view kTempTag = ".fitchk-";
constexpr int kTempAttempts = 100;

struct ReplaceState {
  long syncs = 0;
  unsigned long failSteps = 0;  // bit k-1 set: step k fails (tests)
  int step = 0;
};
ReplaceState state;

// Counts a step of a replace; true when a test asked it to fail.
bool injected_failure() {
  const int step = ++state.step;
  if (step > 64 || !(state.failSteps >> (step - 1) & 1UL)) return false;
  errno = EIO;
  return true;
}

int sync_fd(int fd) {
  ++state.syncs;
  if (injected_failure()) return -1;
  return ::fsync(fd);
}

bool write_all(int fd, std::string_view content) {
  while (!content.empty()) {
    if (injected_failure()) return false;
    const ssize_t n = ::write(fd, content.data(), content.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    content.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The file a name leads to, links followed; the name itself when it does
// not exist yet.
std::string target_of(const std::string& name) {
  char buf[PATH_MAX];
  if (::realpath(name.c_str(), buf)) return buf;
  return name;
}

std::string random_suffix() {
  static std::mt19937_64 gen{std::random_device{}() ^
                             static_cast<unsigned long long>(::getpid()) << 32 ^
                             static_cast<unsigned long long>(
                                 std::chrono::steady_clock::now().time_since_epoch().count())};
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string s;
  for (int i = 0; i < 12; ++i) s += kChars[gen() % (sizeof kChars - 1)];
  return s;
}

// Where the new file goes and what it inherits from the old one.
struct Target {
  std::string path;  // the file replaced
  std::string dir;   // its directory
  std::string base;  // its name in the directory
  bool exists = false;
  struct stat st {};
};

Target describe(const std::string& name) {
  Target t;
  t.path = target_of(name);
  t.exists = ::stat(t.path.c_str(), &t.st) == 0;
  const fs::path p(t.path);
  t.dir = p.has_parent_path() ? p.parent_path().string() : ".";
  t.base = p.filename().string();
  return t;
}

mode_t new_mode(const Target& t) { return t.exists ? (t.st.st_mode & 07777) : 0666; }

// Owner, group and permission bits of the old file: owner and group where
// the system allows it, else the group alone where it allows that; the
// permission bits after, as a change of owner may clear some.
bool inherit(int fd, const Target& t) {
  if (!t.exists) return true;
  if (::fchown(fd, t.st.st_uid, t.st.st_gid) != 0) {
    if (errno != EPERM) return false;
    if (::fchown(fd, static_cast<uid_t>(-1), t.st.st_gid) != 0 && errno != EPERM) return false;
  }
  return ::fchmod(fd, t.st.st_mode & 07777) == 0;
}

// A new file under a unique name next to the target, created exclusively,
// never through a link; -1 on failure. Its name in *tmp.
int create_named(const Target& t, std::string* tmp) {
  for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
    *tmp = t.dir + "/." + t.base + std::string(kTempTag) + random_suffix();
    if (injected_failure()) return -1;
    const int fd = ::open(tmp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          new_mode(t));
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Gives the anonymous file fd the unique name *tmp next to the target.
bool link_anonymous(int fd, const Target& t, std::string* tmp) {
  const std::string proc = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
    *tmp = t.dir + "/." + t.base + std::string(kTempTag) + random_suffix();
    if (injected_failure()) return false;
    if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, tmp->c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
    if (errno != EEXIST) return false;
  }
  return false;
}

bool sync_dir(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = sync_fd(fd) == 0 || errno == EINVAL;  // some file systems cannot sync folders
  ::close(fd);
  return ok;
}

// Marks the new file fd as in use: a record lock on it, held until fd is
// closed, tells a later run's clean-up that its writer is still alive.
bool mark_in_use(int fd) {
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  return ::fcntl(fd, F_OFD_SETLK, &fl) == 0 || errno == EINVAL || errno == ENOLCK;
}

// Writes content to fd and syncs it.
bool fill(int fd, const Target& t, std::string_view content) {
  return inherit(fd, t) && write_all(fd, content) && sync_fd(fd) == 0;
}

// The new content as a file with a unique name next to the target, marked
// in use: first as an anonymous file, which a killed run never leaves
// behind; where the file system has none, created exclusively under its
// name. Returns 0 with the file still open in *fd, or a status (*fd -1).
int write_new(const Target& t, std::string_view content, std::string* tmp, int* fd) {
  tmp->clear();
  *fd = injected_failure() ? -1
                           : ::open(t.dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, new_mode(t));
  if (*fd >= 0) {
    const bool written = mark_in_use(*fd) && fill(*fd, t, content);
    if (written && link_anonymous(*fd, t, tmp)) return 0;
    const int saved = errno;
    ::close(*fd);
    *fd = -1;
    errno = saved;
    if (!written) return kErrWrite;
    tmp->clear();  // no link: write it again under a name
  }
  *fd = create_named(t, tmp);
  if (*fd < 0) {
    const int status = status_of(errno);
    tmp->clear();
    return status;
  }
  if (mark_in_use(*fd) && fill(*fd, t, content)) return 0;
  ::close(*fd);
  *fd = -1;
  return kErrWrite;
}

// Writes a device or FIFO in place.
int write_in_place(const std::string& name, std::string_view content) {
  const int fd = ::open(name.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return status_of(errno);
  const bool ok = write_all(fd, content);
  return ::close(fd) == 0 && ok ? 0 : kErrWrite;
}

}  // namespace

int replace_file(std::string_view name_in, std::string_view content, bool* replaced) {
  state.step = 0;
  if (replaced) *replaced = false;
  const std::string name = std::string(rtrim(name_in));
  if (name.empty()) return kErrNotFound;
  const Target t = describe(name);
  if (t.exists && S_ISDIR(t.st.st_mode)) return kErrIsDirectory;
  if (t.exists && !S_ISREG(t.st.st_mode)) return write_in_place(t.path, content);
  std::string tmp;
  int fd = -1;
  int status = write_new(t, content, &tmp, &fd);
  if (status == 0 && (injected_failure() || ::rename(tmp.c_str(), t.path.c_str()) != 0)) {
    status = status_of(errno);
  }
  if (status != 0 && !tmp.empty()) ::unlink(tmp.c_str());
  // Closed only now: until the rename its lock marks the new file in use.
  if (fd >= 0 && ::close(fd) != 0 && status == 0) status = kErrWrite;
  if (status != 0) return status;
  if (replaced) *replaced = true;
  return sync_dir(t.dir) ? 0 : kErrWrite;
}

int remove_file(std::string_view name) {
  const Target t = describe(std::string(rtrim(name)));
  if (!t.exists || !S_ISREG(t.st.st_mode)) return t.exists ? kErrIsDirectory : 0;
  return ::unlink(t.path.c_str()) == 0 ? 0 : status_of(errno);
}

namespace {

// True when the new file entry of folder dfd (stat st) was left by a run
// that has ended: no live writer holds its lock (a read lock is refused
// while it does). A file that cannot be opened to find out is kept.
bool left_behind(int dfd, const char* entry, const struct stat& st) {
  const int fd = ::openat(dfd, entry, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat now {};
  struct flock fl {};
  fl.l_type = F_RDLCK;
  fl.l_whence = SEEK_SET;
  const bool same = ::fstat(fd, &now) == 0 && now.st_dev == st.st_dev && now.st_ino == st.st_ino;
  const bool free = same && ::fcntl(fd, F_OFD_SETLK, &fl) == 0;
  ::close(fd);
  return free;
}

}  // namespace

void remove_leftovers(std::string_view name, bool ownOnly) {
  const Target t = describe(std::string(rtrim(name)));
  if (t.exists && !S_ISREG(t.st.st_mode)) return;  // a device or FIFO is written in place
  const std::string prefix = "." + t.base + std::string(kTempTag);
  const int dfd = ::open(t.dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd < 0) return;
  DIR* dir = ::fdopendir(dfd);
  if (!dir) {
    ::close(dfd);
    return;
  }
  while (const dirent* e = ::readdir(dir)) {
    const std::string_view entry = e->d_name;
    if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0) continue;
    struct stat st {};
    if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    if (ownOnly && st.st_uid != ::geteuid()) continue;
    if (left_behind(dfd, e->d_name, st)) ::unlinkat(dfd, e->d_name, 0);
  }
  ::closedir(dir);
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

// One attempt at the lock of the open file fd: 0, EAGAIN while another
// holds it, or another error.
int try_lock(int fd) {
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  if (::fcntl(fd, F_OFD_SETLK, &fl) == 0) return 0;
  return errno == EACCES ? EAGAIN : errno;
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
    while ((rc = try_lock(fd)) == EAGAIN || rc == EINTR) {
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

long sync_count() { return state.syncs; }

void fail_replace_steps(unsigned long steps) { state.failSteps = steps; }

}  // namespace platform
