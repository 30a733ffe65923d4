// Exclusive locks on files. flock, as for the folders: the lock belongs to the open file,
// so a run's own descriptors of another file are not disturbed by it.
#include "export/file_lock.h"

#include <algorithm>
#include <cerrno>
#include <sys/file.h>
#include <sys/stat.h>
#include <tuple>

namespace fv {

FileLocks::FileLocks(const std::vector<int>& fds) {
    std::vector<std::tuple<dev_t, ino_t, int>> order;
    for (int fd : fds) {
        struct stat st = {};
        if (fstat(fd, &st) == 0) {
            order.emplace_back(st.st_dev, st.st_ino, fd);
        }
    }
    std::sort(order.begin(), order.end());
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && std::get<0>(order[k]) == std::get<0>(order[k - 1]) &&
            std::get<1>(order[k]) == std::get<1>(order[k - 1])) {
            continue; // one file named twice in the set
        }
        const int fd = std::get<2>(order[k]);
        int result = 0;
        while ((result = flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (result == 0) {
            held_.push_back(fd);
        }
    }
}

FileLocks::~FileLocks() {
    for (auto fd = held_.rbegin(); fd != held_.rend(); ++fd) {
        flock(*fd, LOCK_UN);
    }
}

} // namespace fv
