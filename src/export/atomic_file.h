// Files written whole or not at all: each file is written to a temporary name in its
// own folder and renamed over the real name only when every byte has reached the disk.
#pragma once

#include <string>

namespace fv {

// A file written under a temporary name, waiting to be renamed to path.
struct StagedFile {
    std::string path;
    std::string temporary;
};

// Writes content to a new temporary file beside path. On failure *error reads
// "PATH: reason" and nothing is left behind.
bool stageFile(const std::string& path, const std::string& content, StagedFile* staged,
               std::string* error);

// Renames the staged file to its path, replacing what was there.
bool commitFile(const StagedFile& staged, std::string* error);

// Renames several staged files to their paths, all or none: a file that was there is
// kept aside and put back if a later rename fails, and a name that was free is freed
// again. The staged files are gone afterwards either way.
bool commitFiles(StagedFile* files, int count, std::string* error);

// Gives the staged file the name path only if nothing has that name yet (false with
// *taken set when something has). The temporary name is gone afterwards either way.
bool commitFileNew(const StagedFile& staged, const std::string& path, bool* taken,
                   std::string* error);

// Removes a staged file that will not be committed.
void discardFile(const StagedFile& staged);

// Creates folder dir and its parents where missing.
bool makeFolder(const std::string& dir, std::string* error);

} // namespace fv
