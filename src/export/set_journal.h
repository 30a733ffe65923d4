// The journal of a set of files being written: one file beside them, ".fv-PID-N-set",
// whose presence says that the set has not changed whole yet. It is written and flushed
// before the first file changes and removed (the folder flushed) once every file has its
// new content; that removal is the moment the set changes. A run that a SIGKILL or a
// power cut ends in between leaves it, and the next run that writes into the folder
// puts the set back as it was: the copies of old content into the files written into,
// and the files kept aside back under their names (a name that was free is freed).
#pragma once

#include <string>
#include <vector>

namespace fv {

// A name of the set that takes a new file: the old file kept aside under kept, or, where
// kept is empty, a name that was free before; the new file's inode, so that only the
// set's own file is put aside again.
struct JournalEntry {
    std::string kept;
    std::string name;
    unsigned long long inode;
};

// Writes the journal journalName in folder with the entries, flushed with the folder.
// False with errno when it cannot be had; nothing is left then.
bool writeJournal(int folder, const std::string& journalName,
                  const std::vector<JournalEntry>& entries);

// Removes the journal and flushes the folder: the set has changed. False with errno.
bool removeJournal(int folder, const std::string& journalName);

// For a dead run's journal in folder: each name that holds the set's new file put back
// (the kept file renamed over it, or the name removed where it was free before), a kept
// file whose name is free renamed back, then the journal removed.
void rollBackJournal(int folder, const std::string& journalName);

} // namespace fv
