// Updating a file that people and other programs change too: one update at a
// time among the runs that lock it, and the new version never takes the
// place of a version that the update did not read.
#pragma once
#include <sys/stat.h>

#include <string>
#include <string_view>

#include "platform/new_file.h"
#include "platform/replace_file.h"

namespace platform {

// What replace() did.
struct Replacement {
  int status = 0;          // 0, or the status of the step that failed
  bool replaced = false;   // the new content is under the name
  bool changed = false;    // another program changed or replaced the file since it was
                           // read: nothing of the update is in place; read it again
  // With replaced and a status: the step after the replace that failed.
  enum class After { None, OldVersion, FolderSync, Close } after = After::None;
  std::string attribute;   // the attribute that could not be copied (status set)
  std::string asideName;   // the name in the folder of a version left beside the file
};

// One update of an existing file. resolve() finds the folder once; lock() or
// open_read_only() hold the file the name leads to in it; replace() puts the
// new content in place while the name still leads to the held file, as it
// was read.
class FileUpdate {
 public:
  FileUpdate() = default;
  FileUpdate(const FileUpdate&) = delete;
  FileUpdate& operator=(const FileUpdate&) = delete;
  ~FileUpdate();

  // Follows the links of name (variables replaced) to the file they lead to
  // and opens its folder: every later step works in that folder, whatever
  // happens to the links meanwhile. Returns 0, kErrNotFound for a missing
  // file, or another status. A name that is no regular file (a device, a
  // FIFO) gives 0 and regular() false: it is not updated here.
  int resolve(std::string_view name);
  bool regular() const { return regular_; }
  // The file as resolved: an absolute name.
  const std::string& path() const { return path_; }

  // Locks the file for this update, waiting at most waitSeconds for
  // another holder, as lock_file does: opened for reading and writing (a
  // file without any write permission bit counts as one that may not be
  // written, also for root), locked, and checked to be the file the name
  // still leads to (else the new file is locked). Then it is read whole, for
  // replace() to compare. Returns 0, kErrLockTimeout, or another status with
  // the reason in *why.
  int lock(double waitSeconds, LockFailure* why);

  // Holds the file for reading only, without a lock; 0 or a status.
  int open_read_only();

  // While the file is held, units opened read-only on name read it.
  void pin(std::string_view name);

  // The number of names (hard links) of the held file.
  nlink_t links() const { return st_.st_nlink; }

  // Removes the new files a killed update left beside the file.
  void remove_leftovers() const;

  // Puts content in place of the held (locked) file: a new file beside it
  // (owner, group, every extended attribute and the permission bits of the
  // old one, synced) is exchanged with it, and the old version removed, only
  // when the name still leads to the held file, unchanged since lock().
  // Where the file system cannot exchange two names, the check comes right
  // before a rename.
  Replacement replace(std::string_view content);

  // Lets go of the held file (its lock and pin); the folder stays.
  void release();

 private:
  int open_held(int flags, LockFailure* why);
  bool held_in_place() const;
  bool unchanged() const;
  bool name_leads_to(const std::string& entry, const struct stat& st) const;
  Replacement exchange(NewFile& file);
  Replacement rename_over(NewFile& file);
  void finish(Replacement& r, NewFile& file);

  int dirFd_ = -1;
  std::string path_;
  std::string base_;
  bool regular_ = false;
  int fd_ = -1;
  struct stat st_ {};
  std::string content_;  // as read at lock()
};

// Tests: make replace() take the way of a file system that cannot
// exchange two names.
void use_exchange(bool on);

}  // namespace platform
