// The new file of a replace, beside the file it replaces: its name, how it
// is made and written, and the clean-up of those a killed run left. Used by
// replace_file and FileUpdate.
#pragma once
#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <string_view>

namespace platform {

// A unique name for a new file beside base: ".<base>.fitchk-" and 12 letters
// or digits.
std::string new_file_name(std::string_view base);

// True when entry is exactly such a name for base.
bool is_new_file_name(std::string_view entry, std::string_view base);

// The file a new file replaces, and what it hands on.
struct OldFile {
  bool exists = false;
  struct stat st {};
  int fd = -1;                    // open on it, for its attributes; -1: none taken
  bool strictAttributes = false;  // an attribute that cannot be copied fails the write
};

// A new file written beside the old one.
struct NewFile {
  int fd = -1;            // open, with a record lock that marks it in use until closed
  std::string name;       // its name in the folder
  struct stat st {};      // as written
  std::string attribute;  // the attribute that could not be copied (status then set)
};

// Writes content to a new file in folder dirFd beside base: an anonymous
// file given its unique name once written, or (where the file system has
// none) one created exclusively under that name, never through a link. It
// takes the old file's owner and group (where allowed), its extended
// attributes (ACLs included) and its permission bits, and is synced.
// Returns 0 with *out filled, or a status: nothing is then left.
int write_new_file(int dirFd, std::string_view base, const OldFile& old, std::string_view content,
                   NewFile* out);

// Closes the new file; 0 or kErrWrite.
int close_new_file(NewFile& file);

// Syncs folder dirFd (a file system that cannot sync folders counts as
// synced); 0 or kErrWrite.
int sync_folder(int dirFd);

// Removes the new files of base in folder dirFd that a killed run left:
// regular files of exactly that name pattern, never through a link, only
// those that no live writer holds (a writer keeps the record lock on its new
// file until the rename), and only the user's own - owned by the user of
// the run, or, for root, whose new files take the owner of the file they
// replace, by targetOwner.
void remove_leftovers_at(int dirFd, std::string_view base, uid_t targetOwner);

// Writes content whole to fd, a short write continued; false on a failure
// (also one that tests inject).
bool write_all(int fd, std::string_view content);

// One attempt at the exclusive record lock of the open file description fd:
// 0, EAGAIN while another holds it, or another error.
int try_write_lock(int fd);

// Counts a step of a replace (each open, write, sync, link and rename) for
// the failures that tests inject (fail_replace_steps); true when this one
// is to fail, with errno set to EIO.
bool injected_failure();

// Starts the count of steps for the next replace.
void start_step_count();

}  // namespace platform
