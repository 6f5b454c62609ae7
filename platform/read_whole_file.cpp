#include "platform/read_whole_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/units.h"

namespace platform {
namespace {

// Closes a descriptor when the reading ends, however it ends.
struct Fd {
  int fd;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

FileKind kind_of(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::Regular;
  if (S_ISDIR(mode)) return FileKind::Folder;
  if (S_ISFIFO(mode)) return FileKind::Fifo;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return FileKind::Device;
  return FileKind::Other;
}

}  // namespace

int read_whole_file(std::string_view name, std::string& buf, std::size_t maxBytes) {
  buf.clear();
  const std::string n(name);
  const Fd f{::open(n.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY)};
  if (f.fd < 0) return status_of(errno);
  struct stat st {};
  if (::fstat(f.fd, &st) != 0) return status_of(errno);
  if (S_ISDIR(st.st_mode)) return kErrIsDirectory;
  if (S_ISREG(st.st_mode)) {
    buf.reserve(std::min(static_cast<std::size_t>(st.st_size), maxBytes) + 1);
  }
  char chunk[1 << 16];
  for (;;) {
    // A regular file is read straight into the buffer, anything else in chunks.
    const std::size_t room = buf.capacity() - buf.size();
    const bool direct = room > 0 && buf.size() < maxBytes;
    std::size_t want = direct ? room : sizeof chunk;
    want = std::min(want, maxBytes + 1 - buf.size());
    const std::size_t old = buf.size();
    if (direct) buf.resize(old + want);
    const ssize_t got = ::read(f.fd, direct ? &buf[old] : chunk, want);
    if (got < 0 && errno == EINTR) {
      buf.resize(old);
      continue;
    }
    if (got < 0) {
      const int err = errno;
      buf.resize(old);
      return status_of(err);
    }
    if (direct) {
      buf.resize(old + static_cast<std::size_t>(got));
    } else {
      buf.append(chunk, static_cast<std::size_t>(got));
    }
    if (got == 0) return 0;
    if (buf.size() > maxBytes) {
      buf.resize(maxBytes);
      return kErrTooLarge;
    }
  }
}

FileKind file_kind(std::string_view name) {
  struct stat st {};
  if (::stat(std::string(name).c_str(), &st) != 0) return FileKind::Missing;
  return kind_of(st.st_mode);
}

int list_regular_files(std::string_view folder, std::vector<std::string>& names) {
  names.clear();
  const std::string dir(folder);
  DIR* d = ::opendir(dir.c_str());
  if (!d) return status_of(errno);
  int err = 0;
  for (;;) {
    errno = 0;
    const dirent* e = ::readdir(d);
    if (!e) {
      err = errno;
      break;
    }
    const std::string entry = e->d_name;
    if (entry == "." || entry == "..") continue;
    FileKind kind = FileKind::Other;
    if (e->d_type == DT_REG) {
      kind = FileKind::Regular;
    } else if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
      kind = file_kind(dir + "/" + entry);
    }
    if (kind == FileKind::Regular) names.push_back(entry);
  }
  ::closedir(d);
  std::sort(names.begin(), names.end());
  return err == 0 ? 0 : status_of(err);
}

std::string error_words(int err) {
  switch (err) {
    case ENOENT: return "no such file";
    case EACCES: return "permission denied";
    case EISDIR: return "is a folder";
    case ENOTDIR: return "a part of the path is not a folder";
    case EIO: return "input/output error";
    case ENAMETOOLONG: return "name too long";
    case ELOOP: return "too many levels of links";
    case kErrTooLarge: return "larger than the limit";
    default: return "error number " + std::to_string(err);
  }
}

}  // namespace platform
