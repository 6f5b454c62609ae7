// Files connected by unit number, as the Fortran run-time connects them.
// Unit 5 is standard input and unit 6 standard output until reconnected.
// No call throws or ends the run: failures come back as non-zero statuses.
#pragma once
#include <cstring>
#include <string>
#include <string_view>

namespace platform {

enum class OpenStatus {
  Old,      // must exist
  New,      // created, or emptied at the open when it exists
  Unknown,  // created if missing; existing contents kept until written
  Scratch,  // anonymous, removed at close
};

enum class ReadStatus { Ok, Eof, Error };

// Status codes returned by the calls below (0 = success).
constexpr int kErrNotFound = 2;      // OLD file missing
constexpr int kErrIsDirectory = 21;  // name is a directory
constexpr int kErrAccess = 13;       // permission denied
constexpr int kErrOpen = 5;          // any other open failure
constexpr int kErrBlankName = 29;    // no file name
constexpr int kErrWrite = 28;        // write, flush or close failed
constexpr int kErrNameTooLong = 36;  // a name longer than the program holds

// An error number as a status: itself, or kErrOpen where it would read as
// success (0 mod 256).
inline int status_of(int err) { return err > 0 && err % 256 != 0 ? err : kErrOpen; }

// Connects unit lfn to file name; returns 0 or a non-zero status.
// A unit already connected is closed first.
int open_unit(int lfn, std::string_view name, OpenStatus status, bool read_only);

// While a file is pinned to name, a unit opened read-only on exactly that
// name (trailing blanks aside) reads that file from its start, through the
// open descriptor fd, whatever the name leads to meanwhile, and an inquiry
// by that name finds it. fd -1 ends the pin; the descriptor stays the
// caller's.
void pin_file(std::string_view name, int fd);

// Closes unit lfn (nothing when not connected). With remove, a regular file
// is deleted; devices and FIFOs never are. Returns non-zero when buffered
// output could not be written or the file could not be closed.
int close_unit(int lfn, bool remove = false);

// True when unit lfn is connected; its file name then in *name.
bool unit_connected(int lfn, std::string* name = nullptr);

// Inquiry by file name: exists, and the unit it is connected to (0: none).
// Another spelling of the path of an open file counts as connected.
// Returns 0, or non-zero when the inquiry itself fails.
int inquire_file(std::string_view name, bool& exists, int& unit);

// Back to the first record; 0 or non-zero.
int rewind_unit(int lfn);

// Takes unit lfn, before its first read, into memory when its file is no
// regular file (a pipe, a FIFO, a terminal), so that rewind_unit goes back
// to its first record as on a file; a regular file is left as it is. A read
// error met here, or data beyond kHoldLimit bytes (status 27, file too
// large), is given by the read that reaches it. Returns 0, or non-zero when
// lfn is not connected.
constexpr std::size_t kHoldLimit = std::size_t{64} << 20;
int hold_in_memory(int lfn);

// Reads the next record without its line end (a CR before it is dropped).
// Only the first max_len characters are kept; the rest of the record is
// skipped, so an overlong line costs no memory.
ReadStatus read_record(int lfn, std::string& line, std::size_t max_len = std::string::npos);

// At the start of unit lfn (just opened or rewound): skips a UTF-8
// byte-order mark (EF BB BF) that begins the file; true when there was one.
// A failed read is left to the next read to report.
bool skip_byte_order_mark(int lfn);

// Status of the last read of unit lfn that failed with an error (not an end
// of file): the error number as a status; 0 when none failed.
int unit_read_error(int lfn);

// As read_record, without copying: line views the record in the unit's
// buffer and stays valid until the next read, write, rewind or close of
// the unit.
ReadStatus read_record_view(int lfn, std::string_view& line,
                            std::size_t max_len = std::string::npos);

// The bytes a unit has read ahead and not yet handed out: next..end.
struct ReadAhead {
  const char* next = nullptr;
  const char* end = nullptr;
};

// The read-ahead of unit lfn, valid while it stays connected; nullptr when
// it is not connected.
ReadAhead* read_ahead(int lfn);

// Record of n characters at start as read_record gives it: cut to max_len;
// a CR before the line end dropped unless the record was cut.
inline std::string_view record_text(const char* start, std::size_t n, std::size_t max_len) {
  if (n > max_len) return {start, max_len};
  if (n > 0 && start[n - 1] == '\r') --n;
  return {start, n};
}

// Takes the next record from the read-ahead when it lies there whole.
inline bool next_buffered(ReadAhead& a, std::string_view& line, std::size_t max_len) {
  const std::size_t avail = static_cast<std::size_t>(a.end - a.next);
  const void* nl = avail > 0 ? std::memchr(a.next, '\n', avail) : nullptr;
  if (!nl) return false;
  const char* start = a.next;
  a.next = static_cast<const char*>(nl) + 1;
  line = record_text(start, static_cast<std::size_t>(a.next - 1 - start), max_len);
  return true;
}

// Reads the records of one unit as read_record_view does, without looking
// the unit up for each: for long files read line by line. Valid while the
// unit stays connected.
class RecordReader {
 public:
  explicit RecordReader(int lfn) : lfn_(lfn), ahead_(read_ahead(lfn)) {}
  ReadStatus next(std::string_view& line, std::size_t max_len) {
    if (ahead_ && next_buffered(*ahead_, line, max_len)) return ReadStatus::Ok;
    return read_record_view(lfn_, line, max_len);
  }

 private:
  int lfn_;
  ReadAhead* ahead_;
};

// Writes one record; non-zero when the unit had a write error (also earlier
// ones). A unit that is not connected swallows the record and returns 0.
int write_record(int lfn, std::string_view text);

// True when unit lfn saw a write error since it was opened.
bool unit_write_failed(int lfn);

// Flushes every connected unit's buffered output, in unit order.
void flush_all();

// Flushes unit lfn and gives the size of its file so far; -1 for a unit that
// is no regular file of its own (the console, a device).
long unit_mark(int lfn);

// Cuts regular file name back to size bytes and appends text; 0 or non-zero.
int cut_and_append(std::string_view name, long size, std::string_view text);

// Flushes the buffered output of unit lfn (nothing when not connected); a
// failure counts as a write error of the unit.
void flush_unit(int lfn);

// Closes every unit and restores units 5 and 6 to standard input and output
// (for tests and for the process end).
void reset_units();

// Replaces the stream of unit 6 by a file (tests capture the console);
// an empty path restores standard output.
void set_console_file(std::string_view path);

}  // namespace platform
