#include "platform/units.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fixed_text.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kBufSize = 1 << 16;  // read-ahead, and stdio buffer for writes
constexpr std::size_t kMaxSpares = 8;

// A buffer of kBufSize bytes, uninitialised. A released one waits for the
// next unit, whose buffer pages are then in memory already: a run opens many
// files one after the other, and a fresh page costs more than reading it.
class Buffer {
 public:
  Buffer() = default;
  Buffer(Buffer&&) = default;
  Buffer& operator=(Buffer&&) = default;
  ~Buffer() {
    if (p_ && spares().size() < kMaxSpares) spares().push_back(std::move(p_));
  }
  char* get() {
    if (p_) return p_.get();
    if (spares().empty()) {
      p_.reset(new char[kBufSize]);
    } else {
      p_ = std::move(spares().back());
      spares().pop_back();
    }
    return p_.get();
  }

 private:
  // Never destroyed, so units closed at the process end can still give back.
  static std::vector<std::unique_ptr<char[]>>& spares() {
    static auto* list = new std::vector<std::unique_ptr<char[]>>();
    return *list;
  }
  std::unique_ptr<char[]> p_;
};

struct Unit {
  std::string name;               // empty for scratch and console streams
  std::FILE* fp = nullptr;
  bool console = false;           // standard stream: never closed by fclose
  bool read_only = false;
  bool truncate_on_write = false; // existing file: emptied at the first write
  bool write_failed = false;
  Buffer rbuf;                    // read-ahead buffer
  std::string spill;              // a record that spans two fills of rbuf
  ReadAhead ahead;                // buffered bytes of rbuf not yet read
  bool at_eof = false;
  int read_error = 0;             // status of a failed read
  bool holding = false;           // the records lie in held, read ahead whole
  std::string held;
  int held_error = 0;             // status of a read that failed after held
  Buffer wbuf;                    // stdio buffer for writes
};

std::map<int, Unit>& table() {
  static std::map<int, Unit> units;
  return units;
}

std::FILE*& console_out() {
  static std::FILE* out = nullptr;
  return out;
}

// The unit found last: records are read one unit at a time, so most
// lookups end here. Map nodes stay put until erased (close_unit forgets it).
struct LastFound {
  int lfn = 0;
  Unit* unit = nullptr;
};
LastFound last_found;

Unit* find(int lfn) {
  if (last_found.unit && last_found.lfn == lfn) return last_found.unit;
  auto& t = table();
  auto it = t.find(lfn);
  if (it == t.end()) return nullptr;
  last_found = {lfn, &it->second};
  return &it->second;
}

void attach_console() {
  auto& t = table();
  Unit in;
  in.fp = stdin;
  in.console = true;
  in.read_only = true;
  t[5] = std::move(in);
  Unit out;
  out.fp = console_out() ? console_out() : stdout;
  out.console = true;
  t[6] = std::move(out);
}

// Units 5 and 6 exist from the start.
struct ConsoleInit {
  ConsoleInit() {
    static char buf[kBufSize];
    std::setvbuf(stdout, buf, _IOFBF, sizeof buf);
    attach_console();
  }
};
ConsoleInit console_init;

// The file pinned to a name (pin_file).
struct Pin {
  std::string name;
  int fd = -1;
};
Pin pinned;

bool is_pinned(const std::string& name) { return pinned.fd >= 0 && name == pinned.name; }

// The pinned file, read from its start.
std::FILE* open_pinned() {
  const int fd = ::fcntl(pinned.fd, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return nullptr;
  std::FILE* fp = ::lseek(fd, 0, SEEK_SET) == 0 ? ::fdopen(fd, "rb") : nullptr;
  if (!fp) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
  }
  return fp;
}

std::FILE* open_existing(const std::string& name, bool read_only, bool& ro_out) {
  ro_out = read_only;
  if (read_only) return std::fopen(name.c_str(), "rb");
  std::FILE* fp = std::fopen(name.c_str(), "r+b");
  if (!fp && errno == EACCES) {
    fp = std::fopen(name.c_str(), "rb");
    ro_out = true;
  }
  return fp;
}

// A record of text is flushed to the file; returns false on failure.
bool put(Unit& u, std::string_view text) {
  if (u.truncate_on_write) {
    u.truncate_on_write = false;
    std::fflush(u.fp);
    std::error_code ec;
    if (fs::is_regular_file(u.name, ec)) fs::resize_file(u.name, 0, ec);
    if (ec) return false;
    std::fseek(u.fp, 0, SEEK_SET);
  } else if (u.ahead.end > u.ahead.next) {
    std::fseek(u.fp, -static_cast<long>(u.ahead.end - u.ahead.next), SEEK_CUR);
  }
  u.ahead = {};
  if (!text.empty() && std::fwrite(text.data(), 1, text.size(), u.fp) != text.size()) return false;
  return std::fputc('\n', u.fp) != EOF && !std::ferror(u.fp);
}

}  // namespace

int open_unit(int lfn, std::string_view name_in, OpenStatus status, bool read_only) {
  close_unit(lfn);
  Unit u;
  u.read_only = read_only;
  if (status == OpenStatus::Scratch) {
    u.fp = std::tmpfile();
    if (!u.fp) return status_of(errno);
  } else {
    const std::string name(rtrim(name_in));
    if (name.empty()) return kErrNotFound;
    std::error_code ec;
    if (read_only && is_pinned(name)) {
      u.fp = open_pinned();
      if (!u.fp) return status_of(errno);
      u.name = name;
      std::setvbuf(u.fp, u.wbuf.get(), _IOFBF, kBufSize);
      table()[lfn] = std::move(u);
      return 0;
    }
    if (fs::is_directory(name, ec)) return kErrIsDirectory;
    bool exists = fs::exists(name, ec);
    if (status == OpenStatus::Old && !exists) return kErrNotFound;
    if (status == OpenStatus::New) {
      u.fp = std::fopen(name.c_str(), read_only ? "rb" : "wb");
    } else if (exists) {
      u.fp = open_existing(name, read_only, u.read_only);
      u.truncate_on_write = !u.read_only;
    } else {
      u.fp = std::fopen(name.c_str(), "w+b");
    }
    if (!u.fp) return status_of(errno);
    u.name = name;
  }
  std::setvbuf(u.fp, u.wbuf.get(), _IOFBF, kBufSize);
  table()[lfn] = std::move(u);
  return 0;
}

int close_unit(int lfn, bool remove) {
  Unit* u = find(lfn);
  if (!u) return 0;
  bool failed = u->write_failed;
  if (u->console) {
    failed = std::fflush(u->fp) != 0 || failed;
  } else {
    failed = std::fclose(u->fp) != 0 || failed;
  }
  if (remove && !u->name.empty()) {
    std::error_code ec;
    if (fs::is_regular_file(fs::symlink_status(u->name, ec))) fs::remove(u->name, ec);
  }
  if (last_found.lfn == lfn) last_found = {};
  table().erase(lfn);
  return failed ? kErrWrite : 0;
}

bool unit_connected(int lfn, std::string* name) {
  Unit* u = find(lfn);
  if (u && name) *name = u->name;
  return u != nullptr;
}

int inquire_file(std::string_view name_in, bool& exists, int& unit) {
  exists = false;
  unit = 0;
  const std::string name(rtrim(name_in));
  if (name.empty()) return 0;
  std::error_code ec;
  exists = is_pinned(name) || fs::exists(name, ec);
  if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory) {
    return status_of(ec.value());
  }
  if (!exists) return 0;
  for (auto& [lfn, u] : table()) {
    if (u.name.empty()) continue;
    if (u.name == name || fs::equivalent(u.name, name, ec)) {
      unit = lfn;
      break;
    }
  }
  return 0;
}

int rewind_unit(int lfn) {
  Unit* u = find(lfn);
  if (!u) return 0;
  if (u->holding) {
    u->ahead = {u->held.data(), u->held.data() + u->held.size()};
    return 0;
  }
  u->ahead = {};
  u->at_eof = false;
  std::clearerr(u->fp);
  return std::fseek(u->fp, 0, SEEK_SET) == 0 ? 0 : kErrOpen;
}

int hold_in_memory(int lfn) {
  Unit* u = find(lfn);
  if (!u) return kErrOpen;
  struct stat st {};
  if (::fstat(::fileno(u->fp), &st) == 0 && S_ISREG(st.st_mode)) return 0;
  u->held.assign(u->ahead.next, u->ahead.end);
  char* buf = u->rbuf.get();
  while (!u->at_eof && u->held.size() <= kHoldLimit) {
    const std::size_t n = std::fread(buf, 1, kBufSize, u->fp);
    u->held.append(buf, n);
    if (n == 0 && std::ferror(u->fp)) {
      u->held_error = status_of(errno);
      std::clearerr(u->fp);
      break;
    }
    u->at_eof = n == 0;
  }
  if (u->held.size() > kHoldLimit) {
    u->held.resize(kHoldLimit);
    u->held_error = EFBIG;
  }
  u->holding = true;
  u->at_eof = true;
  u->ahead = {u->held.data(), u->held.data() + u->held.size()};
  return 0;
}

namespace {

// Refills rbuf; false at the end of the file or on a read error.
bool refill(Unit& u) {
  char* base = u.rbuf.get();
  const std::size_t n = std::fread(base, 1, kBufSize, u.fp);
  u.ahead = {base, base + n};
  return n > 0;
}

// A record that reaches past the buffered data: its first max_len characters
// are gathered in u.spill while the buffer is refilled.
ReadStatus read_spanning(Unit& u, std::string_view& line, std::size_t max_len) {
  u.spill.clear();
  std::size_t total = 0;  // record length so far, also beyond max_len
  bool got = false;
  for (;;) {
    if (u.ahead.next == u.ahead.end) {
      if (u.at_eof && u.held_error != 0) {
        u.read_error = u.held_error;
        return ReadStatus::Error;
      }
      if (u.at_eof) break;
      if (!refill(u)) {
        if (std::ferror(u.fp)) {
          u.read_error = status_of(errno);
          std::clearerr(u.fp);
          return ReadStatus::Error;
        }
        u.at_eof = true;
        break;
      }
    }
    const char* start = u.ahead.next;
    const std::size_t avail = static_cast<std::size_t>(u.ahead.end - start);
    const void* nl = std::memchr(start, '\n', avail);
    const std::size_t n = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - start) : avail;
    if (u.spill.size() < max_len) u.spill.append(start, std::min(n, max_len - u.spill.size()));
    total += n;
    got = true;
    u.ahead.next = start + n + (nl ? 1 : 0);
    if (nl) break;
  }
  if (!got) return ReadStatus::Eof;
  // The spill holds the record's first max_len characters, the CR rule needs
  // its whole length.
  line = total > max_len ? std::string_view(u.spill) : record_text(u.spill.data(), total, max_len);
  return ReadStatus::Ok;
}

}  // namespace

bool skip_byte_order_mark(int lfn) {
  static constexpr char kMark[] = "\xEF\xBB\xBF";
  Unit* u = find(lfn);
  if (u && u->holding) {  // a stream held in memory: its start is that of the held text
    if (u->ahead.next != u->held.data() || u->held.compare(0, 3, kMark) != 0) return false;
    u->ahead.next += 3;
    return true;
  }
  if (!u || u->at_eof || u->ahead.next != u->ahead.end || std::ftell(u->fp) > 0) return false;
  if (!refill(*u)) {
    std::clearerr(u->fp);  // the next read tries again and tells
    return false;
  }
  const std::size_t avail = static_cast<std::size_t>(u->ahead.end - u->ahead.next);
  if (avail < 3 || std::memcmp(u->ahead.next, kMark, 3) != 0) return false;
  u->ahead.next += 3;
  return true;
}

int unit_read_error(int lfn) {
  Unit* u = find(lfn);
  return u ? u->read_error : 0;
}

ReadAhead* read_ahead(int lfn) {
  Unit* u = find(lfn);
  return u ? &u->ahead : nullptr;
}

ReadStatus read_record_view(int lfn, std::string_view& line, std::size_t max_len) {
  line = {};
  Unit* u = find(lfn);
  if (!u) return ReadStatus::Error;
  if (next_buffered(u->ahead, line, max_len)) return ReadStatus::Ok;
  return read_spanning(*u, line, max_len);
}

ReadStatus read_record(int lfn, std::string& line, std::size_t max_len) {
  std::string_view view;
  const ReadStatus st = read_record_view(lfn, view, max_len);
  line.assign(view.data(), view.size());
  return st;
}

int write_record(int lfn, std::string_view text) {
  Unit* u = find(lfn);
  if (!u) return 0;
  if (u->read_only || !put(*u, text)) u->write_failed = true;
  return u->write_failed ? kErrWrite : 0;
}

bool unit_write_failed(int lfn) {
  Unit* u = find(lfn);
  return u && u->write_failed;
}

void flush_all() {
  for (auto& [lfn, u] : table()) {
    if (std::fflush(u.fp) != 0) u.write_failed = true;
  }
}

long unit_mark(int lfn) {
  Unit* u = find(lfn);
  if (!u || u->console || u->name.empty() || std::fflush(u->fp) != 0) return -1;
  struct stat st {};
  if (::fstat(::fileno(u->fp), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<long>(st.st_size);
}

int cut_and_append(std::string_view name_in, long size, std::string_view text) {
  const std::string name(rtrim(name_in));
  const int fd = ::open(name.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return status_of(errno);
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::ftruncate(fd, size) == 0;
  ok = ok && ::pwrite(fd, text.data(), text.size(), size) == static_cast<ssize_t>(text.size());
  ok = ::close(fd) == 0 && ok;
  return ok ? 0 : kErrWrite;
}

void flush_unit(int lfn) {
  Unit* u = find(lfn);
  if (u && std::fflush(u->fp) != 0) u->write_failed = true;
}

void pin_file(std::string_view name, int fd) {
  pinned.name = std::string(rtrim(name));
  pinned.fd = fd;
}

void reset_units() {
  pinned = Pin{};
  std::vector<int> open;
  for (auto& [lfn, u] : table()) open.push_back(lfn);
  for (int lfn : open) close_unit(lfn);
  attach_console();
}

void set_console_file(std::string_view path) {
  std::FILE*& out = console_out();
  Unit* u = find(6);
  if (u) std::fflush(u->fp);
  if (out) std::fclose(out);
  out = path.empty() ? nullptr : std::fopen(std::string(path).c_str(), "wb");
  if (u && u->console) u->fp = out ? out : stdout;
}

}  // namespace platform
