// The extended attributes of a file (POSIX ACLs among them) handed on to the
// file that takes its place.
#pragma once
#include <string>

namespace platform {

// Gives file to every extended attribute of file from, with its value, and
// takes from `to` an access ACL that `from` has not (one inherited from a
// default ACL of the folder). An attribute that `to` holds already with that
// value is not set again. A file system without attributes on `from` has
// none to copy. Returns 0, or the error number of the first attribute that
// could not be read or set, with its name in *failed.
int copy_attributes(int from, int to, std::string* failed);

}  // namespace platform
