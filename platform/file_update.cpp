#include "platform/file_update.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>  // renameat2
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/fixed_text.h"
#include "platform/units.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

bool exchangeOn = true;

bool same_identity(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Waits for the lock of fd until deadline: 0, EAGAIN, or an error.
int wait_for_lock(int fd, std::chrono::steady_clock::time_point deadline) {
  auto pause = std::chrono::microseconds(200);
  int rc;
  while ((rc = try_write_lock(fd)) == EAGAIN || rc == EINTR) {
    if (std::chrono::steady_clock::now() >= deadline) return EAGAIN;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::microseconds(20000));
  }
  return rc;
}

// The whole content of fd, read from its start; false on a read error.
bool read_whole(int fd, std::string* out) {
  out->clear();
  char buf[1 << 16];
  off_t at = 0;
  for (;;) {
    const ssize_t n = ::pread(fd, buf, sizeof buf, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    out->append(buf, static_cast<std::size_t>(n));
    at += n;
  }
}

// The system cannot exchange two names here (file system or kernel).
bool no_exchange(int err) { return err == EINVAL || err == ENOSYS || err == EOPNOTSUPP; }

}  // namespace

FileUpdate::~FileUpdate() {
  release();
  if (dirFd_ >= 0) ::close(dirFd_);
}

int FileUpdate::resolve(std::string_view name_in) {
  const std::string name(rtrim(name_in));
  char buf[PATH_MAX];
  if (!::realpath(name.c_str(), buf)) return errno == ENOENT ? kErrNotFound : status_of(errno);
  path_ = buf;
  struct stat st {};
  if (::stat(path_.c_str(), &st) != 0) return errno == ENOENT ? kErrNotFound : status_of(errno);
  regular_ = S_ISREG(st.st_mode);
  if (!regular_) return 0;
  const fs::path p(path_);
  base_ = p.filename().string();
  dirFd_ = ::open(p.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  return dirFd_ >= 0 ? 0 : status_of(errno);
}

// Opens the file of the name in the folder; a file without any write
// permission bit is not opened for writing.
int FileUpdate::open_held(int flags, LockFailure* why) {
  *why = LockFailure{true, 0};
  const int fd = ::openat(dirFd_, base_.c_str(), flags | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    why->err = errno;
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) why->err = errno;
  if (why->err == 0 && (flags & O_ACCMODE) != O_RDONLY && (st.st_mode & 0222) == 0) why->err = EACCES;
  if (why->err != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

int FileUpdate::lock(double waitSeconds, LockFailure* why) {
  release();
  LockFailure unused;
  LockFailure& failure = why ? *why : unused;
  const auto deadline =
      std::chrono::steady_clock::now() +
      std::chrono::duration_cast<std::chrono::steady_clock::duration>(
          std::chrono::duration<double>(waitSeconds));
  for (;;) {
    // Only a run that may write the file updates it, so one kind of lock
    // serves every run.
    const int fd = open_held(O_RDWR, &failure);
    if (fd < 0) return failure.err == ENOENT ? kErrNotFound : status_of(failure.err);
    failure = LockFailure{};
    const int rc = wait_for_lock(fd, deadline);
    struct stat st {};
    if (rc == 0 && ::fstat(fd, &st) == 0 && name_leads_to(base_, st)) {
      fd_ = fd;
      st_ = st;
      if (read_whole(fd_, &content_)) return 0;
      failure = LockFailure{false, errno, true};
      release();
      return status_of(failure.err);
    }
    ::close(fd);  // replaced while we waited: lock the new file
    if (rc == EAGAIN) return kErrLockTimeout;
    if (rc != 0) {
      failure.err = rc;
      return status_of(rc);
    }
  }
}

int FileUpdate::open_read_only() {
  release();
  LockFailure why;
  fd_ = open_held(O_RDONLY | O_NONBLOCK, &why);
  if (fd_ < 0) return why.err == ENOENT ? kErrNotFound : status_of(why.err);
  ::fstat(fd_, &st_);
  return 0;
}

void FileUpdate::pin(std::string_view name) {
  if (fd_ >= 0) pin_file(name, fd_);
}

void FileUpdate::remove_leftovers() const {
  if (dirFd_ >= 0) remove_leftovers_at(dirFd_, base_, st_.st_uid);
}

void FileUpdate::release() {
  if (fd_ < 0) return;
  pin_file({}, -1);
  ::close(fd_);  // closing the description drops its lock
  fd_ = -1;
  content_.clear();
}

bool FileUpdate::name_leads_to(const std::string& entry, const struct stat& st) const {
  struct stat now {};
  return ::fstatat(dirFd_, entry.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && same_identity(now, st);
}

bool FileUpdate::held_in_place() const { return name_leads_to(base_, st_); }

bool FileUpdate::unchanged() const {
  std::string now;
  return read_whole(fd_, &now) && now == content_;
}

Replacement FileUpdate::replace(std::string_view content) {
  Replacement r;
  start_step_count();
  if (!held_in_place() || !unchanged()) {
    r.changed = true;
    return r;
  }
  OldFile old;
  old.exists = true;
  old.st = st_;
  old.fd = fd_;
  old.strictAttributes = true;
  NewFile file;
  r.status = write_new_file(dirFd_, base_, old, content, &file);
  if (r.status != 0) {
    r.attribute = file.attribute;
    return r;
  }
  return exchangeOn ? exchange(file) : rename_over(file);
}

// The new file and the held one change names at once; what came back must
// be the held file as read, else the other version gets its place back.
Replacement FileUpdate::exchange(NewFile& file) {
  Replacement r;
  if (injected_failure() ||
      ::renameat2(dirFd_, file.name.c_str(), dirFd_, base_.c_str(), RENAME_EXCHANGE) != 0) {
    if (no_exchange(errno)) return rename_over(file);
    r.status = status_of(errno);
    ::unlinkat(dirFd_, file.name.c_str(), 0);
    close_new_file(file);
    return r;
  }
  if (!name_leads_to(file.name, st_) || !unchanged()) {
    r.changed = true;
    const bool back =
        ::renameat2(dirFd_, file.name.c_str(), dirFd_, base_.c_str(), RENAME_EXCHANGE) == 0;
    if (back && name_leads_to(file.name, file.st)) {
      ::unlinkat(dirFd_, file.name.c_str(), 0);
    } else {  // another version stands beside the file: leave it for the user
      r.status = back ? kErrOpen : status_of(errno);
      r.asideName = file.name;
    }
    close_new_file(file);
    return r;
  }
  r.replaced = true;
  if (injected_failure() || ::unlinkat(dirFd_, file.name.c_str(), 0) != 0) {
    r.status = status_of(errno);
    r.after = Replacement::After::OldVersion;
    r.asideName = file.name;
  }
  finish(r, file);
  return r;
}

// Without the exchange: the check right before a rename.
Replacement FileUpdate::rename_over(NewFile& file) {
  Replacement r;
  if (!held_in_place() || !unchanged()) {
    r.changed = true;
  } else if (injected_failure() ||
             ::renameat(dirFd_, file.name.c_str(), dirFd_, base_.c_str()) != 0) {
    r.status = status_of(errno);
  } else {
    r.replaced = true;
    finish(r, file);
    return r;
  }
  ::unlinkat(dirFd_, file.name.c_str(), 0);
  close_new_file(file);
  return r;
}

// After the new content took its place: the folder synced, the new file
// closed; the first failure is kept.
void FileUpdate::finish(Replacement& r, NewFile& file) {
  const int synced = sync_folder(dirFd_);
  if (r.status == 0 && synced != 0) {
    r.status = synced;
    r.after = Replacement::After::FolderSync;
  }
  const int closed = close_new_file(file);
  if (r.status == 0 && closed != 0) {
    r.status = closed;
    r.after = Replacement::After::Close;
  }
}

void use_exchange(bool on) { exchangeOn = on; }

}  // namespace platform
