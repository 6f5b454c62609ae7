#include "platform/units.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <vector>

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kBufSize = 1 << 16;

struct Unit {
  std::string name;               // empty for scratch and console streams
  std::FILE* fp = nullptr;
  bool console = false;           // standard stream: never closed by fclose
  bool read_only = false;
  bool truncate_on_write = false; // existing file: emptied at the first write
  bool write_failed = false;
  std::vector<char> rbuf;         // read-ahead buffer
  std::size_t rpos = 0, rlen = 0;
  bool at_eof = false;
  std::vector<char> wbuf;         // stdio buffer for writes
};

std::map<int, Unit>& table() {
  static std::map<int, Unit> units;
  return units;
}

std::FILE*& console_out() {
  static std::FILE* out = nullptr;
  return out;
}

Unit* find(int lfn) {
  auto& t = table();
  auto it = t.find(lfn);
  return it == t.end() ? nullptr : &it->second;
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

int errno_status() { return errno > 0 && errno % 256 != 0 ? errno : kErrOpen; }

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
  } else if (u.rlen > u.rpos) {
    std::fseek(u.fp, -static_cast<long>(u.rlen - u.rpos), SEEK_CUR);
  }
  u.rpos = u.rlen = 0;
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
    if (!u.fp) return errno_status();
  } else {
    std::string name(name_in);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (name.empty()) return kErrNotFound;
    std::error_code ec;
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
    if (!u.fp) return errno_status();
    u.name = name;
  }
  u.wbuf.resize(kBufSize);
  std::setvbuf(u.fp, u.wbuf.data(), _IOFBF, u.wbuf.size());
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
  std::string name(name_in);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  if (name.empty()) return 0;
  std::error_code ec;
  exists = fs::exists(name, ec);
  if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory) {
    return ec.value() % 256 != 0 ? ec.value() : kErrOpen;
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
  u->rpos = u->rlen = 0;
  u->at_eof = false;
  std::clearerr(u->fp);
  return std::fseek(u->fp, 0, SEEK_SET) == 0 ? 0 : kErrOpen;
}

ReadStatus read_record(int lfn, std::string& line, std::size_t max_len) {
  line.clear();
  bool cut = false;
  Unit* u = find(lfn);
  if (!u) return ReadStatus::Error;
  if (u->rbuf.empty()) u->rbuf.resize(kBufSize);
  bool got = false;
  for (;;) {
    if (u->rpos == u->rlen) {
      if (u->at_eof) break;
      u->rlen = std::fread(u->rbuf.data(), 1, u->rbuf.size(), u->fp);
      u->rpos = 0;
      if (u->rlen == 0) {
        if (std::ferror(u->fp)) return ReadStatus::Error;
        u->at_eof = true;
        break;
      }
    }
    const char* start = u->rbuf.data() + u->rpos;
    std::size_t avail = u->rlen - u->rpos;
    const void* nl = std::memchr(start, '\n', avail);
    std::size_t n = nl ? static_cast<const char*>(nl) - start : avail;
    const std::size_t keep = std::min(n, max_len - line.size());
    cut = cut || keep < n;
    line.append(start, keep);
    got = true;
    u->rpos += n;
    if (nl) {
      ++u->rpos;
      if (!cut && !line.empty() && line.back() == '\r') line.pop_back();
      return ReadStatus::Ok;
    }
  }
  if (!got) return ReadStatus::Eof;
  if (!cut && !line.empty() && line.back() == '\r') line.pop_back();
  return ReadStatus::Ok;
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

void reset_units() {
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
