// Files written whole or not at all. A reader never sees a half-written file under
// the real name: the bytes go to "NAME.tmp-XXXXXX" beside it, are flushed to the disk,
// and one rename (or link, where an existing file must not be replaced) publishes them.
#include "export/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fv {

namespace {

constexpr mode_t fileMode = 0666; // the umask narrows both, as for any new file
constexpr mode_t folderMode = 0777;
constexpr int maxNameAttempts = 100; // temporary names tried before giving up

// "PATH.tmp-PID-N": unique within this process, and across processes by the PID.
std::string temporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
}

std::string reason(const std::string& path, int code) {
    return path + ": " + std::strerror(code);
}

bool writeAll(int fd, const std::string& content) {
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = write(fd, content.data() + done, content.size() - done);
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

} // namespace

bool stageFile(const std::string& path, const std::string& content, StagedFile* staged,
               std::string* error) {
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < maxNameAttempts; ++attempt) {
        staged->temporary = temporaryName(path);
        fd = open(staged->temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, fileMode);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        *error = reason(path, errno);
        staged->temporary.clear();
        return false;
    }
    staged->path = path;
    const bool written = writeAll(fd, content) && fsync(fd) == 0;
    const int writeError = errno;
    const bool closed = close(fd) == 0;
    if (!written || !closed) {
        const int code = written ? errno : writeError;
        unlink(staged->temporary.c_str());
        staged->temporary.clear();
        *error = reason(path, code);
        return false;
    }
    return true;
}

bool commitFile(const StagedFile& staged, std::string* error) {
    if (rename(staged.temporary.c_str(), staged.path.c_str()) != 0) {
        *error = reason(staged.path, errno);
        unlink(staged.temporary.c_str());
        return false;
    }
    return true;
}

bool commitFiles(StagedFile* files, int count, std::string* error) {
    std::vector<std::string> kept(static_cast<std::size_t>(count)); // "" where none was
    int done = 0;
    bool ok = true;
    for (int k = 0; ok && k < count; ++k) {
        struct stat st = {};
        if (lstat(files[k].path.c_str(), &st) == 0) {
            if (S_ISDIR(st.st_mode)) {
                *error = reason(files[k].path, EISDIR);
                ok = false;
                break;
            }
            kept[static_cast<std::size_t>(k)] = temporaryName(files[k].path);
            if (link(files[k].path.c_str(), kept[static_cast<std::size_t>(k)].c_str()) != 0) {
                *error = reason(files[k].path, errno);
                kept[static_cast<std::size_t>(k)].clear();
                ok = false;
            }
        }
    }
    for (; ok && done < count; ++done) {
        if (rename(files[done].temporary.c_str(), files[done].path.c_str()) != 0) {
            *error = reason(files[done].path, errno);
            ok = false;
            break;
        }
    }
    for (int k = 0; k < count; ++k) {
        const std::string& old = kept[static_cast<std::size_t>(k)];
        if (!ok && k < done) {
            if (old.empty()) {
                unlink(files[k].path.c_str()); // the name was free before
            } else {
                rename(old.c_str(), files[k].path.c_str());
            }
        } else if (!old.empty()) {
            unlink(old.c_str());
        }
        if (!ok && k >= done) {
            unlink(files[k].temporary.c_str());
        }
    }
    return ok;
}

bool commitFileNew(const StagedFile& staged, const std::string& path, bool* taken,
                   std::string* error) {
    *taken = false;
    if (link(staged.temporary.c_str(), path.c_str()) != 0) {
        const int code = errno;
        *taken = code == EEXIST;
        *error = reason(path, code);
        return false;
    }
    unlink(staged.temporary.c_str());
    return true;
}

void discardFile(const StagedFile& staged) {
    if (!staged.temporary.empty()) {
        unlink(staged.temporary.c_str());
    }
}

bool makeFolder(const std::string& dir, std::string* error) {
    // Each prefix ending before a '/' in turn, then dir itself.
    for (std::size_t i = 1; i <= dir.size(); ++i) {
        if (i < dir.size() && dir[i] != '/') {
            continue;
        }
        const std::string prefix = dir.substr(0, i);
        if (mkdir(prefix.c_str(), folderMode) != 0 && errno != EEXIST) {
            *error = reason(prefix, errno);
            return false;
        }
    }
    struct stat st = {};
    if (stat(dir.c_str(), &st) != 0) {
        *error = reason(dir, errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        *error = reason(dir, ENOTDIR);
        return false;
    }
    return true;
}

} // namespace fv
