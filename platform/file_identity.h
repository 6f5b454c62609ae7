// Whether two file names denote one file.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// True when both names exist and denote the same file (another spelling of
// the path, a symbolic or hard link); false when either is missing or
// blank or the inquiry fails. Trailing blanks are ignored.
bool same_existing_file(std::string_view a, std::string_view b);

// The absolute form of a name: "." and ".." removed and the links of the
// part of the path that exists resolved, a last link also when its target
// does not exist yet (it is the file a write creates); only "." and ".."
// removed when the links cannot be resolved; the name as given when the
// current folder is unknown; "" for a blank name. Trailing blanks are
// ignored.
std::string absolute_name(std::string_view name);

// The name under which the standard output (stream 1) or standard error (2)
// of this process can be looked at when it goes to a regular file (a log the
// shell opened); "" when it goes elsewhere (a terminal, a pipe, a device) or
// is closed.
std::string console_file(int stream);

// 1 or 2 when the name leads, through its links, to the standard output or
// standard error of the process that opens it (/dev/stdout, /dev/fd/2,
// /proc/self/fd/1, or a link to one of them); else 0.
int standard_stream(std::string_view name);

// True when the name is an existing character or block device (such as
// /dev/null): writing to it replaces no file. Trailing blanks are ignored.
bool is_device(std::string_view name);

// The number of names (hard links) of the file that name leads to, links
// followed; 0 when it is missing or the inquiry fails. Trailing blanks are
// ignored.
unsigned long link_count(std::string_view name);

// True when the name is an existing FIFO (named pipe). Trailing blanks are
// ignored.
bool is_fifo(std::string_view name);

}  // namespace platform
