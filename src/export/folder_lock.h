// Exclusive locks on folders, so that runs writing into one folder take their names one
// set after another. A folder this user may read is locked itself; one it may only
// write and enter (mode 0333) through a lock file in it, ".fv-lock", which the holder
// removes before it lets go, so that nothing stays behind.
#pragma once

#include <sys/types.h>
#include <vector>

namespace fv {

class FolderLocks {
  public:
    // Locks each folder (descriptors, O_PATH will do) for as long as this lives; one
    // order for every run (by device and inode), so that runs never wait on each other
    // in a circle. A folder on a file system without locks stays unlocked.
    explicit FolderLocks(const std::vector<int>& folders);
    ~FolderLocks();
    FolderLocks(const FolderLocks&) = delete;
    FolderLocks& operator=(const FolderLocks&) = delete;

  private:
    struct Held {
        int fd;        // the locked descriptor
        int folder;    // the folder of a lock file, or -1 when the folder itself is locked
        ino_t lockIno; // the lock file's inode
    };
    std::vector<Held> held_;
};

} // namespace fv
