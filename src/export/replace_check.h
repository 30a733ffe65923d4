// Whether a regular file may be replaced by a new one under its name (a rename) without
// changing anything about it but its content: the same owner and group, no other hard
// link, the same permission bits with setuid, setgid and sticky, the same ACLs and
// extended attributes. Where not, the file is written into instead, as cp does.
#pragma once

#include <sys/stat.h>

namespace fv {

// Whether a file with target's owner, links and mode can be replaced at all by this
// user's new file: checked before anything is made.
bool renameMayKeepTarget(const struct stat& target);

// Makes the new file at fd like the target in group and mode where this user may, and
// tells whether it now matches the target (opened as targetPath, an O_PATH descriptor)
// in everything but content.
bool matchTarget(int fd, const struct stat& target, int targetPath);

// Gives the new file at fd the target's permission bits again once its content is
// written (a write by a user without CAP_FSETID clears setuid and setgid), and tells
// whether it has them.
bool matchModeAfterWriting(int fd, const struct stat& target);

} // namespace fv
