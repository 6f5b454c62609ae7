// Replacing a file as a whole, and holding a file for one update at a time.
// Names are taken as given: variables must be replaced before.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// Replaces the file name by content so that a reader sees either the old
// or the complete new file, also after a crash. The content goes to a new
// file created exclusively under a unique name in the file's directory,
// with the old file's permission bits (and owner and group where allowed),
// synced, renamed over the file, and the directory synced. A link stays a
// link: its target is replaced. A name that does not exist yet is created
// the same way (mode 0666 less the umask). A device or FIFO is written in
// place. Returns 0, or a non-zero status; the old file is then untouched and
// no new file is left.
int replace_file(std::string_view name, std::string_view content);

// Removes the new files that replace_file left next to the target of name
// when its run was killed between two steps. Call it only while holding the
// lock of name, so that no other run is writing one.
void remove_leftovers(std::string_view name);

// An exclusive lock on an existing file for one update, released by the
// destructor, by release() or by the death of the process. Works across
// processes and on network file systems (record locks of the file
// description).
class FileLock {
 public:
  FileLock() = default;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock() { release(); }
  void release();
  bool held() const { return fd_ >= 0; }

 private:
  friend int lock_file(std::string_view, FileLock&, double);
  int fd_ = -1;
};

// Status of lock_file when the lock was not had within the wait.
constexpr int kErrLockTimeout = 110;

// Locks file name exclusively, waiting at most waitSeconds for another
// holder. After the lock is had, the name is checked to still lead to the
// locked file (another update may have replaced it), else it is locked
// again. A name that is not a regular file (device, FIFO) is not locked and
// gives 0. Returns 0, kErrLockTimeout, or another non-zero status.
int lock_file(std::string_view name, FileLock& lock, double waitSeconds);

// Tests: the number of fsync calls made by replace_file since the start,
// and failures (EIO) injected into the next replace_file calls: bit k-1 of
// steps set makes step k fail (each open, write, sync, link and rename is a
// step; 0: none).
long sync_count();
void fail_replace_steps(unsigned long steps);

}  // namespace platform
