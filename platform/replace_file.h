// Replacing a file as a whole, and holding a file for one update at a time.
// Names are taken as given: variables must be replaced before.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// Replaces the file name by content so that a reader sees either the old
// or the complete new file, also after a crash. The content goes to a new
// file created exclusively under a unique name in the file's directory,
// with the old file's permission bits, extended attributes (those that can
// be copied) and owner and group (where allowed), synced, renamed over the
// file, and the directory synced. A link stays a link: its target is
// replaced, or created when it does not exist yet. A name that does not
// exist yet is created the same way (mode 0666 less the umask). A device or
// FIFO is written in place. Returns 0, or a non-zero status; the old file
// is then untouched and no new file is left, unless *replaced (when given)
// is set: then the new content is in place but closing the new file or the
// sync of the folder failed, so its durability is not confirmed.
int replace_file(std::string_view name, std::string_view content, bool* replaced = nullptr);

// Removes the regular file that name leads to (links followed, the link
// itself kept); 0 or non-zero.
int remove_file(std::string_view name);

// Removes the new files that replace_file left next to the target of name
// when its run was killed between two steps (remove_leftovers_at: exactly
// the name pattern of its new files, regular files only, never through a
// link, never one a live writer holds, only the user's own).
void remove_leftovers(std::string_view name);

struct LockFailure;

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
  friend int lock_file(std::string_view, FileLock&, double, LockFailure*);
  int fd_ = -1;
};

// Status of lock_file when the lock was not had within the wait.
constexpr int kErrLockTimeout = 110;

// Why a lock failed, apart from a timeout: the file could not be opened
// for writing (status as of an open), the lock call failed with err, or
// (FileUpdate) the locked file could not be read.
struct LockFailure {
  bool atOpen = false;
  int err = 0;
  bool atRead = false;
};

// Locks file name exclusively, waiting at most waitSeconds for another
// holder. The file is opened for reading and writing: a run that may not
// write the file gets no lock. After the lock is had, the name is checked to
// still lead to the locked file (another update may have replaced it), else
// it is locked again. A name that is not a regular file (device, FIFO) is
// not locked and gives 0. Returns 0, kErrLockTimeout, or another non-zero
// status (kErrNotFound for a missing file) with the reason in *why.
int lock_file(std::string_view name, FileLock& lock, double waitSeconds,
              LockFailure* why = nullptr);

// Tests: the number of fsync calls made by replace_file (and FileUpdate)
// since the start, and failures (EIO) injected into the next replace_file
// calls: bit k-1 of steps set makes step k fail (each open, write, sync,
// link and rename is a step; 0: none).
long sync_count();
void fail_replace_steps(unsigned long steps);

}  // namespace platform
