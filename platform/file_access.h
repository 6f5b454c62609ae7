// What a run could do with a file, asked without opening it.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// 0 when name is an existing file that can be read; else kErrNotFound (also
// for a blank name), kErrIsDirectory, kErrAccess, kErrNotDirectory (a part
// of the path is no folder), ELOOP (links that lead in a circle) or kErrOpen.
int read_access(std::string_view name);

// 0 when name can be created or replaced: an existing file that can be
// written, or a missing one in a folder that can be written. Else the
// status as for read_access; folder names the folder at fault ("" when the
// file itself is).
int write_access(std::string_view name, std::string& folder);

// True when name is an existing file whose permission bits let nobody
// write it (such as 0444), whoever asks; false otherwise.
bool no_write_permission(std::string_view name);

// The status of read_access or write_access in words ("no such file").
std::string access_words(int status);

}  // namespace platform
