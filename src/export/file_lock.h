// Exclusive locks on the files a run writes into, so that runs reaching one file by
// different names (hard links in two folders, a link from elsewhere) write it one after
// the other: a folder's lock covers only the names in that folder.
#pragma once

#include <vector>

namespace fv {

class FileLocks {
  public:
    // Locks the files open at fds for as long as this lives; one order for every run (by
    // device and inode, each file once), so that runs never wait on each other in a
    // circle. The descriptors stay the caller's. A file system without locks leaves its
    // files unlocked.
    explicit FileLocks(const std::vector<int>& fds);
    ~FileLocks();
    FileLocks(const FileLocks&) = delete;
    FileLocks& operator=(const FileLocks&) = delete;

  private:
    std::vector<int> held_;
};

} // namespace fv
