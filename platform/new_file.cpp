#include "platform/new_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <random>

#include "platform/file_attributes.h"
#include "platform/replace_file.h"
#include "platform/units.h"

namespace platform {
namespace {

// Name of the new files beside a target: ".<name>.fitchk-" and the suffix.
constexpr std::string_view kTag = ".fitchk-";
constexpr std::size_t kSuffixLength = 12;
constexpr char kSuffixChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr int kNameAttempts = 100;

struct StepState {
  long syncs = 0;
  unsigned long failSteps = 0;  // bit k-1 set: step k fails (tests)
  int step = 0;
};
StepState state;

int sync_fd(int fd) {
  ++state.syncs;
  if (injected_failure()) return -1;
  return ::fsync(fd);
}

std::string random_suffix() {
  static std::mt19937_64 gen{std::random_device{}() ^
                             static_cast<unsigned long long>(::getpid()) << 32 ^
                             static_cast<unsigned long long>(
                                 std::chrono::steady_clock::now().time_since_epoch().count())};
  std::string s;
  for (std::size_t i = 0; i < kSuffixLength; ++i) s += kSuffixChars[gen() % (sizeof kSuffixChars - 1)];
  return s;
}

mode_t new_mode(const OldFile& old) { return old.exists ? (old.st.st_mode & 07777) : 0666; }

// Owner, group, attributes and permission bits of the old file: owner and
// group where the system allows it, else the group alone where it allows
// that; the bits last, as a change of owner may clear some and an access
// ACL sets them. An attribute that cannot be copied fails only when the old
// file asks for strictness.
bool inherit(int fd, const OldFile& old, NewFile* out) {
  if (!old.exists) return true;
  if (::fchown(fd, old.st.st_uid, old.st.st_gid) != 0) {
    if (errno != EPERM) return false;
    if (::fchown(fd, static_cast<uid_t>(-1), old.st.st_gid) != 0 && errno != EPERM) return false;
  }
  if (old.fd >= 0) {
    const int err = copy_attributes(old.fd, fd, &out->attribute);
    if (err != 0 && old.strictAttributes) {
      errno = err;
      return false;
    }
    out->attribute.clear();
  }
  return ::fchmod(fd, old.st.st_mode & 07777) == 0;
}

// Marks the new file fd as in use: a record lock on it, held until fd is
// closed, tells a later run's clean-up that its writer is still alive, and
// makes another update wait once the file has taken the old one's place.
bool mark_in_use(int fd) {
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  return ::fcntl(fd, F_OFD_SETLK, &fl) == 0 || errno == EINVAL || errno == ENOLCK;
}

// Everything but the name: inherit, write, sync.
bool fill(int fd, const OldFile& old, std::string_view content, NewFile* out) {
  return mark_in_use(fd) && inherit(fd, old, out) && write_all(fd, content) && sync_fd(fd) == 0;
}

// A new file under a unique name in dirFd, created exclusively, never
// through a link; -1 on failure.
int create_named(int dirFd, std::string_view base, const OldFile& old, std::string* name) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    *name = new_file_name(base);
    if (injected_failure()) return -1;
    const int fd = ::openat(dirFd, name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                            new_mode(old));
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Gives the anonymous file fd a unique name in dirFd.
bool link_anonymous(int fd, int dirFd, std::string_view base, std::string* name) {
  const std::string proc = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    *name = new_file_name(base);
    if (injected_failure()) return false;
    if (::linkat(AT_FDCWD, proc.c_str(), dirFd, name->c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
    if (errno != EEXIST) return false;
  }
  return false;
}

void discard(NewFile* out) {
  const int saved = errno;
  if (out->fd >= 0) ::close(out->fd);
  out->fd = -1;
  out->name.clear();
  errno = saved;
}

// The anonymous way; false with out->fd -1 when the file system has none
// (*failed false: try the named way) or when it failed (*failed true).
bool write_anonymous(int dirFd, std::string_view base, const OldFile& old,
                     std::string_view content, NewFile* out, bool* failed) {
  *failed = false;
  out->fd = injected_failure() ? -1 : ::openat(dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, new_mode(old));
  if (out->fd < 0) return false;
  if (!fill(out->fd, old, content, out)) {
    *failed = true;
    discard(out);
    return false;
  }
  if (link_anonymous(out->fd, dirFd, base, &out->name)) return true;
  discard(out);  // no link: write it again under a name
  return false;
}

}  // namespace

std::string new_file_name(std::string_view base) {
  return "." + std::string(base) + std::string(kTag) + random_suffix();
}

bool is_new_file_name(std::string_view entry, std::string_view base) {
  const std::size_t prefix = 1 + base.size() + kTag.size();
  if (entry.size() != prefix + kSuffixLength || entry[0] != '.' ||
      entry.substr(1, base.size()) != base || entry.substr(1 + base.size(), kTag.size()) != kTag) {
    return false;
  }
  return entry.substr(prefix).find_first_not_of(kSuffixChars) == std::string_view::npos;
}

int write_new_file(int dirFd, std::string_view base, const OldFile& old, std::string_view content,
                   NewFile* out) {
  *out = NewFile{};
  bool failed = false;
  if (!write_anonymous(dirFd, base, old, content, out, &failed)) {
    if (failed) return out->attribute.empty() ? kErrWrite : status_of(errno);
    out->fd = create_named(dirFd, base, old, &out->name);
    if (out->fd < 0) {
      const int status = status_of(errno);
      out->name.clear();
      return status;
    }
    if (!fill(out->fd, old, content, out)) {
      const int status = out->attribute.empty() ? kErrWrite : status_of(errno);
      ::unlinkat(dirFd, out->name.c_str(), 0);
      discard(out);
      return status;
    }
  }
  if (::fstat(out->fd, &out->st) != 0) {
    const int status = status_of(errno);
    ::unlinkat(dirFd, out->name.c_str(), 0);
    discard(out);
    return status;
  }
  return 0;
}

int close_new_file(NewFile& file) {
  if (file.fd < 0) return 0;
  const int rc = ::close(file.fd);
  file.fd = -1;
  return rc == 0 ? 0 : kErrWrite;
}

int sync_folder(int dirFd) {
  if (sync_fd(dirFd) == 0 || errno == EINVAL) return 0;  // some file systems cannot sync folders
  return kErrWrite;
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

void remove_leftovers_at(int dirFd, std::string_view base, uid_t targetOwner) {
  const int dfd = ::dup(dirFd);  // closedir closes its own descriptor
  if (dfd < 0) return;
  DIR* dir = ::fdopendir(dfd);
  if (!dir) {
    ::close(dfd);
    return;
  }
  ::rewinddir(dir);
  const uid_t me = ::geteuid();
  while (const dirent* e = ::readdir(dir)) {
    if (!is_new_file_name(e->d_name, base)) continue;
    struct stat st {};
    if (::fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    if (st.st_uid != me && !(me == 0 && st.st_uid == targetOwner)) continue;
    if (left_behind(dirFd, e->d_name, st)) ::unlinkat(dirFd, e->d_name, 0);
  }
  ::closedir(dir);
}

bool injected_failure() {
  const int step = ++state.step;
  if (step > 64 || !(state.failSteps >> (step - 1) & 1UL)) return false;
  errno = EIO;
  return true;
}

void start_step_count() { state.step = 0; }

long sync_count() { return state.syncs; }

void fail_replace_steps(unsigned long steps) { state.failSteps = steps; }

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

int try_write_lock(int fd) {
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  if (::fcntl(fd, F_OFD_SETLK, &fl) == 0) return 0;
  return errno == EACCES ? EAGAIN : errno;
}

}  // namespace platform
