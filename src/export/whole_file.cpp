// Whole files by descriptor.
#include "export/whole_file.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace fv {

namespace {

constexpr std::size_t readChunk = 1 << 16; // bytes per read(), 64 KiB

} // namespace

bool writeWhole(int fd, const std::string& bytes, bool fromStart) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = fromStart ? pwrite(fd, bytes.data() + done, bytes.size() - done,
                                             static_cast<off_t>(done))
                                    : write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = ENOSPC; // a write that makes no progress: the disk is full
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool readWhole(int fd, std::string* bytes) {
    char buffer[readChunk];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n == 0;
        }
        bytes->append(buffer, static_cast<std::size_t>(n));
    }
}

bool flushFolder(int folder) {
    const int fd = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno == EACCES;
    }
    const bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

} // namespace fv
