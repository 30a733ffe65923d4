// Files written safely: whole or not at all, and never at the cost of what a path
// names. One rule for every file the program writes:
// - a symbolic link stays, and the file it leads to is replaced;
// - a device, a FIFO or a socket is written into, never replaced;
// - a regular file is replaced with its permission bits kept, and refused when this
//   user may not write it;
// - a new file gets the usual permissions (0666 less the umask).
// A regular file is written under a temporary name beside its target, flushed to the
// disk and renamed over it; the files of a set take their names together, under a
// lock of their folder, so that concurrent runs leave one run's set whole. Where the
// file system has no hard links, renames and exclusive creation stand in for them.
#pragma once

#include <string>

#include "state/state.h"

namespace fv {

// One file of a set: where it goes, as the user named it, and its bytes.
struct FileContent {
    std::string path;
    std::string bytes;
};

// Writes every file of the set, all or none: a file that was there is kept aside and
// put back if any later one cannot take its name. False with *error ("PATH: reason")
// when any cannot be written; no temporary is left either way. The temporaries are
// noted in temporaries while they exist.
bool writeFileSet(TemporaryFiles* temporaries, const FileContent* files, int count,
                  std::string* error);

// Writes bytes under the first free name of stem + suffix, stem + "-2" + suffix, ...,
// stem + "-1000" + suffix, never replacing anything; the name taken goes to *chosen.
bool writeNewFile(TemporaryFiles* temporaries, const std::string& stem, const std::string& suffix,
                  const std::string& bytes, std::string* chosen, std::string* error);

// Creates folder dir and its parents where missing.
bool makeFolder(const std::string& dir, std::string* error);

} // namespace fv
