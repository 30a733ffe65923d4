// Files written safely: whole or not at all, and never at the cost of what a path
// names. One rule for every file the program writes:
// - the kernel follows the path, so that the system's protections of links apply; a
//   symbolic link stays, and the file it leads to gets the new content;
// - a device, a FIFO or a socket is written into, never replaced;
// - a regular file this user may not write is refused, as by cp;
// - a regular file is replaced by a new one (a rename) only when that changes nothing
//   about it but its content; one of another owner, with other hard links, with
//   setuid, setgid or sticky bits this user cannot give, or with ACLs or extended
//   attributes the new file would not have, is written into instead, as cp does, once
//   the new content is ready and its old content is kept: in memory and in a copy
//   beside it (".fv-PID-N-old"), or where no copy can be made, at least room on the
//   disk reserved for the new content; without either it is refused untouched;
// - a new file gets the usual permissions (0666 less the umask); a replacement gets the
//   old file's bits once its content is written.
// A replacement is written under a short temporary name (".fv-PID-N", in hexadecimal)
// beside its target, flushed to the disk and renamed over it; the files of a set take
// their names and their content together, under a lock of their folders and of each
// file written into, so that concurrent runs leave one run's set whole, whatever names
// they reach the files by. A failure anywhere puts back every file of the set already
// written. Where the file system has no hard links, renames and exclusive creation stand
// in for them. Nothing made along the way outlives a failure, and a cleanup that cannot
// be done is reported; what a run ended by SIGKILL or a power cut leaves, the next run
// writing into that folder cleans up (export/leftovers.h).
#pragma once

#include <string>
#include <vector>

#include "export/interrupt.h"

namespace fv {

// One file of a set: where it goes, as the user named it, and its bytes.
struct FileContent {
    std::string path;
    std::string bytes;
};

// Writes every file of the set, all or none: a file that was there is kept aside, or its
// content kept, and put back if any later one cannot be written. False with *error ("PATH: reason")
// when any cannot be written; no temporary is left either way. The temporaries are
// noted in temporaries while they exist.
bool writeFileSet(TemporaryFiles* temporaries, const FileContent* files, int count,
                  std::string* error);

// Writes bytes under the first free name of stem + suffix, stem + "-2" + suffix, ...,
// stem + "-1000" + suffix, never replacing anything; the name taken goes to *chosen.
bool writeNewFile(TemporaryFiles* temporaries, const std::string& stem, const std::string& suffix,
                  const std::string& bytes, std::string* chosen, std::string* error);

// Creates folder dir and its parents where missing; the folders it made go to *created,
// outermost first.
bool makeFolder(const std::string& dir, std::vector<std::string>* created, std::string* error);

// Removes the folders makeFolder made, innermost first; false with *error naming the
// first that could not be removed.
bool removeFolders(const std::vector<std::string>& created, std::string* error);

} // namespace fv
