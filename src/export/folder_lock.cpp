// Exclusive locks on folders. A lock file is taken by the usual protocol for a lock
// file that its holder removes: after the lock, the name must still lead to the locked
// file, or a holder has removed it meanwhile and the lock is taken again on a new one.
#include "export/folder_lock.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fv {

namespace {

constexpr const char* lockFileName = ".fv-lock";
constexpr mode_t lockFileMode = 0666; // any user's run may lock it (the umask narrows it)

void lockWaiting(int fd) {
    while (flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

// The lock file of folder, locked: its descriptor, or -1.
int lockThroughFile(int folder, ino_t* ino) {
    for (;;) {
        int fd =
            openat(folder, lockFileName, O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, lockFileMode);
        if (fd < 0 && errno == EACCES) {
            // Another user's lock file in a sticky folder may not be opened with O_CREAT.
            fd = openat(folder, lockFileName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        }
        if (fd < 0) {
            return -1;
        }
        lockWaiting(fd);
        struct stat locked = {};
        struct stat named = {};
        if (fstat(fd, &locked) == 0 &&
            fstatat(folder, lockFileName, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
            *ino = locked.st_ino;
            return fd;
        }
        close(fd); // removed by its holder meanwhile: take the new one
    }
}

} // namespace

FolderLocks::FolderLocks(const std::vector<int>& folders) {
    std::vector<std::pair<std::pair<dev_t, ino_t>, int>> order;
    for (int f : folders) {
        struct stat st = {};
        if (fstat(f, &st) == 0) {
            order.push_back({{st.st_dev, st.st_ino}, f});
        }
    }
    std::sort(order.begin(), order.end());
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && order[k].first == order[k - 1].first) {
            continue; // one folder named twice
        }
        const int folder = order[k].second;
        const int fd = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            lockWaiting(fd);
            held_.push_back({fd, -1, 0});
            continue;
        }
        ino_t ino = 0;
        const int lockFd = lockThroughFile(folder, &ino);
        if (lockFd >= 0) {
            held_.push_back({lockFd, folder, ino});
        }
    }
}

FolderLocks::~FolderLocks() {
    for (auto h = held_.rbegin(); h != held_.rend(); ++h) {
        if (h->folder >= 0) {
            // Removed while still locked: a waiter then finds the name gone and retries.
            // Another user's lock file in a sticky folder stays, and serves the next run.
            unlinkat(h->folder, lockFileName, 0);
        }
        close(h->fd); // releases the lock
    }
}

} // namespace fv
