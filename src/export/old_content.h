// The old content of a file that is written into, kept so that the writing can be
// undone: in memory, for a failure of this run, and in a copy beside the file, flushed
// to the disk, for a run that a SIGKILL or a power cut ends, whose next run in that
// folder puts the copy back. A copy names its file (its name in the copy's folder, its
// device and inode), so that it is put back only into the file it was taken from.
#pragma once

#include <string>

namespace fv {

struct OldContent {
    bool kept = false;    // bytes hold the content before the writing
    std::string bytes;    // that content
    int copyFolder = -1;  // the folder of the copy (not owned)
    std::string copyName; // the copy's name there, or empty
};

// Reads the content of the file open at fd (for writing) and copies it, with the name by
// which folder leads to the file, under copyName in folder. False with errno when the
// file cannot be read or the copy cannot be made; no copy is left then.
bool keepOldContent(int fd, int folder, const std::string& name, const std::string& copyName,
                    OldContent* old);

// The old bytes back into the file open at fd, at their old length, on the disk.
bool putBack(int fd, const std::string& bytes);

// Removes the copy once it is not needed; false with errno when it stays.
bool removeCopy(OldContent* old);

// Puts the copy copyName in folder back into the file it names, when that file is still
// the one copied, then removes the copy. False with errno when the copy stays.
bool restoreFromCopy(int folder, const std::string& copyName);

} // namespace fv
