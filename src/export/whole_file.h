// Whole files by descriptor: all of the bytes read or written, an interrupted call
// retried, and a folder's names flushed to the disk. The writer's parts (the files of a
// set, the copies of old content, the set's journal) share these.
#pragma once

#include <string>

namespace fv {

// Writes all of bytes to fd, from the file's start (pwrite) or where fd stands (write).
// False with errno; a write that makes no progress is a full disk (ENOSPC).
bool writeWhole(int fd, const std::string& bytes, bool fromStart);

// Appends what fd holds from where it stands to its end to *bytes; false with errno.
bool readWhole(int fd, std::string* bytes);

// Flushes the names of folder to the disk. A folder this user may write but not read
// (0333) cannot be opened to be flushed: its names reach the disk with the file system's
// own writeback, which a SIGKILL does not stop (only a power cut can then lose them),
// so that is no failure. False with errno otherwise.
bool flushFolder(int folder);

} // namespace fv
