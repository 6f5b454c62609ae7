// Reading a whole file into memory, and the files of a folder.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Status of read_whole_file for a file larger than the limit.
constexpr int kErrTooLarge = 27;

// Replaces buf by the contents of file name (kept capacity: a buffer used
// for many files is allocated once). Returns 0, or the error number of the
// failed open or read (kErrIsDirectory for a folder), or kErrTooLarge when
// the file holds more than maxBytes (buf then holds its first maxBytes).
int read_whole_file(std::string_view name, std::string& buf, std::size_t maxBytes);

// The kind of file a name leads to (links followed).
enum class FileKind { Missing, Regular, Folder, Fifo, Device, Other };
FileKind file_kind(std::string_view name);

// The names (without the folder) of the regular files in folder, links to
// regular files included, sorted; 0 or the error number of the failed open
// or read of the folder.
int list_regular_files(std::string_view folder, std::vector<std::string>& names);

// An error number of the calls above in words ("no such file"; for
// kErrTooLarge "larger than the limit"); the same text in every locale.
std::string error_words(int err);

}  // namespace platform
