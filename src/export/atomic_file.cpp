// Files written safely. What a path names is settled first (links followed, the kind of
// file, whether this user may write it); regular targets are staged as
// "TARGET.tmp-PID-N" beside their target and noted for removal on an interrupt,
// streams are written directly, and then the staged files take their names with the
// folder locked and the interrupts held back, so that the set is renamed whole.
#include "export/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

#include "export/interrupt.h"

namespace fv {

namespace {

constexpr mode_t newFileMode = 0666; // the umask narrows both, as for any new file
constexpr mode_t folderMode = 0777;
constexpr mode_t permissionBits = 0777; // what a replaced file keeps
constexpr int maxNameAttempts = 100;    // temporary names tried before giving up
constexpr int maxLinkHops = 40;         // as the kernel's own limit on symbolic links
constexpr int maxSuffix = 1000;         // new names tried before giving up

enum class Kind {
    missing, // nothing has the name yet
    regular, // a regular file, replaced
    stream,  // a device or a FIFO, written into
    socket,  // a socket, written into through a connection
    folder,  // a folder: never written
};

// A file of a set on its way to its target.
struct Target {
    std::string given;     // the path as the user named it, for messages
    std::string path;      // links followed: where the bytes go
    Kind kind;             // what path names now
    mode_t mode;           // permission bits of the regular file there
    std::string temporary; // the staged bytes, for a regular or missing target
    int slot;              // the temporary's note for an interrupt, or -1
    std::string kept;      // the file that was there, kept aside during the commit
    bool keptByRename;     // kept aside by a rename (no hard links): the name is free
};

std::string reason(const std::string& path, int code) {
    return path + ": " + std::strerror(code);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// "PATH.tmp-PID-N": unique within this process, and across processes by the PID.
std::string temporaryName(TemporaryFiles* files, const std::string& path) {
    const unsigned n = files->counter;
    files->counter = n + 1;
    return path + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(n);
}

// Whether a failed link() means that the file system has no hard links (FAT, exFAT,
// some network shares) rather than a real failure.
bool noHardLinks(int code) {
    return code == EPERM || code == EOPNOTSUPP || code == ENOTSUP || code == ENOSYS;
}

// The path with every symbolic link along its last component followed; a dangling link
// leads to the name its target would have.
bool followLinks(const std::string& given, std::string* path, int* code) {
    std::string p = given;
    for (int hop = 0; hop <= maxLinkHops; ++hop) {
        struct stat st = {};
        if (lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            *path = p;
            return true;
        }
        std::vector<char> text(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 2);
        const ssize_t n = readlink(p.c_str(), text.data(), text.size() - 1);
        if (n < 0) {
            *code = errno;
            return false;
        }
        const std::string to(text.data(), static_cast<std::size_t>(n));
        p = !to.empty() && to[0] == '/' ? to : folderOf(p) + "/" + to;
    }
    *code = ELOOP;
    return false;
}

// What the target of t names, and whether it may be written. A stream is opened by the
// name given, which the kernel follows through any link (also /proc's fd links); a file
// is staged beside where the links lead.
bool settle(Target* t, std::string* error) {
    struct stat given = {};
    if (stat(t->given.c_str(), &given) == 0 && !S_ISREG(given.st_mode) && !S_ISDIR(given.st_mode)) {
        t->path = t->given;
        t->kind = S_ISSOCK(given.st_mode) ? Kind::socket : Kind::stream;
        if (faccessat(AT_FDCWD, t->path.c_str(), W_OK, AT_EACCESS) != 0) {
            *error = reason(t->given, errno);
            return false;
        }
        return true;
    }
    int code = 0;
    if (!followLinks(t->given, &t->path, &code)) {
        *error = reason(t->given, code);
        return false;
    }
    struct stat st = {};
    if (stat(t->path.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            *error = reason(t->given, errno);
            return false;
        }
        t->kind = Kind::missing;
        return true;
    }
    t->mode = st.st_mode & permissionBits;
    if (!S_ISREG(st.st_mode)) {
        t->kind = Kind::folder; // or a stream that came up since: never replaced
        *error = reason(t->given, S_ISDIR(st.st_mode) ? EISDIR : EEXIST);
        return false;
    }
    t->kind = Kind::regular;
    // As cp: a file this user may not write is refused, not replaced behind its back.
    if (faccessat(AT_FDCWD, t->path.c_str(), W_OK, AT_EACCESS) != 0) {
        *error = reason(t->given, errno);
        return false;
    }
    return true;
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
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

void discard(TemporaryFiles* files, Target* t) {
    if (!t->temporary.empty()) {
        unlink(t->temporary.c_str());
        t->temporary.clear();
    }
    forgetTemporary(files, t->slot);
    t->slot = -1;
}

// The bytes under a new temporary name beside the target, on the disk.
bool stage(TemporaryFiles* files, Target* t, const std::string& bytes, std::string* error) {
    int fd = -1;
    int code = 0;
    for (int attempt = 0; fd < 0 && attempt < maxNameAttempts; ++attempt) {
        t->temporary = temporaryName(files, t->path);
        t->slot = noteTemporary(files, t->temporary);
        if (t->slot < 0) {
            code = ENAMETOOLONG;
            break;
        }
        fd = open(t->temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, newFileMode);
        code = errno;
        if (fd < 0) {
            forgetTemporary(files, t->slot);
            t->slot = -1;
            if (code != EEXIST) {
                break;
            }
        }
    }
    if (fd < 0) {
        t->temporary.clear();
        *error = reason(t->given, code);
        return false;
    }
    bool ok = t->kind != Kind::regular || fchmod(fd, t->mode) == 0;
    ok = ok && writeAll(fd, bytes) && fsync(fd) == 0;
    code = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        discard(files, t);
        *error = reason(t->given, code);
    }
    return ok;
}

// A socket's bytes go through a connection to it.
int connectSocket(const std::string& path) {
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int code = errno;
        close(fd);
        errno = code;
        return -1;
    }
    return fd;
}

// A device, a FIFO (whose reader it waits for) or a socket: written into as it is.
bool writeStream(const Target& t, const std::string& bytes, std::string* error) {
    const int fd = t.kind == Kind::socket ? connectSocket(t.path)
                                          : open(t.path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *error = reason(t.given, errno);
        return false;
    }
    bool ok = writeAll(fd, bytes);
    int code = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        *error = reason(t.given, code);
    }
    return ok;
}

// Exclusive locks on the folders of the targets, for as long as it lives: runs that
// write into one folder take their names one set after another. A file system without
// locks leaves the folder unlocked.
class FolderLocks {
  public:
    explicit FolderLocks(std::vector<std::string> folders) {
        std::sort(folders.begin(), folders.end()); // one order for every run: no deadlock
        folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
        for (const std::string& f : folders) {
            const int fd = open(f.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd >= 0) {
                while (flock(fd, LOCK_EX) != 0 && errno == EINTR) {
                }
                fds_.push_back(fd);
            }
        }
    }
    ~FolderLocks() {
        for (int fd : fds_) {
            close(fd); // releases the lock
        }
    }
    FolderLocks(const FolderLocks&) = delete;
    FolderLocks& operator=(const FolderLocks&) = delete;

  private:
    std::vector<int> fds_;
};

// Keeps the file at t's target aside under a temporary name: a second hard link, or
// where there are none, a rename (the name is free until the new file takes it).
bool keepAside(TemporaryFiles* files, Target* t, std::string* error) {
    struct stat st = {};
    if (lstat(t->path.c_str(), &st) != 0) {
        return errno == ENOENT || (*error = reason(t->given, errno), false);
    }
    if (S_ISDIR(st.st_mode)) {
        *error = reason(t->given, EISDIR);
        return false;
    }
    t->kept = temporaryName(files, t->path);
    if (link(t->path.c_str(), t->kept.c_str()) == 0) {
        return true;
    }
    const int code = errno;
    if (noHardLinks(code) && rename(t->path.c_str(), t->kept.c_str()) == 0) {
        t->keptByRename = true;
        return true;
    }
    t->kept.clear();
    *error = reason(t->given, code);
    return false;
}

// The staged files take their names, all or none.
bool commit(TemporaryFiles* files, std::vector<Target*>& staged, std::string* error) {
    std::vector<std::string> folders;
    for (const Target* t : staged) {
        folders.push_back(folderOf(t->path));
    }
    BlockedInterrupts blocked;
    blockInterrupts(&blocked);
    bool ok = true;
    std::size_t renamed = 0;
    {
        const FolderLocks locks(folders);
        for (Target* t : staged) {
            ok = ok && keepAside(files, t, error);
        }
        for (; ok && renamed < staged.size(); ++renamed) {
            Target* t = staged[renamed];
            if (rename(t->temporary.c_str(), t->path.c_str()) != 0) {
                *error = reason(t->given, errno);
                ok = false;
                break;
            }
            t->temporary.clear();
        }
        for (std::size_t k = 0; k < staged.size(); ++k) {
            Target* t = staged[k];
            const bool putBack = !ok && (k < renamed || t->keptByRename);
            if (putBack && !t->kept.empty()) {
                rename(t->kept.c_str(), t->path.c_str());
            } else if (putBack) {
                unlink(t->path.c_str()); // the name was free before
            } else if (!t->kept.empty()) {
                unlink(t->kept.c_str());
            }
            discard(files, t);
        }
    }
    unblockInterrupts(blocked);
    return ok;
}

} // namespace

bool writeFileSet(TemporaryFiles* temporaries, const FileContent* files, int count,
                  std::string* error) {
    std::vector<Target> targets(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        Target& t = targets[static_cast<std::size_t>(k)];
        t = {files[k].path, "", Kind::missing, 0, "", -1, "", false};
        if (!settle(&t, error)) {
            return false;
        }
    }
    std::vector<Target*> staged;
    bool ok = true;
    for (int k = 0; ok && k < count; ++k) {
        Target& t = targets[static_cast<std::size_t>(k)];
        if (t.kind == Kind::missing || t.kind == Kind::regular) {
            ok = stage(temporaries, &t, files[k].bytes, error);
            if (ok) {
                staged.push_back(&t);
            }
        }
    }
    for (int k = 0; ok && k < count; ++k) {
        const Target& t = targets[static_cast<std::size_t>(k)];
        if (t.kind == Kind::stream || t.kind == Kind::socket) {
            ok = writeStream(t, files[k].bytes, error);
        }
    }
    if (!ok) {
        for (Target* t : staged) {
            discard(temporaries, t);
        }
        return false;
    }
    return commit(temporaries, staged, error);
}

bool writeNewFile(TemporaryFiles* files, const std::string& stem, const std::string& suffix,
                  const std::string& bytes, std::string* chosen, std::string* error) {
    Target t = {stem + suffix, stem + suffix, Kind::missing, 0, "", -1, "", false};
    if (!stage(files, &t, bytes, error)) {
        return false;
    }
    BlockedInterrupts blocked;
    blockInterrupts(&blocked);
    bool linksWork = true;
    bool done = false;
    bool failed = false;
    for (int n = 1; !done && !failed && n <= maxSuffix; ++n) {
        const std::string name = n == 1 ? stem + suffix : stem + "-" + std::to_string(n) + suffix;
        int code = 0;
        if (linksWork) {
            if (link(t.temporary.c_str(), name.c_str()) == 0) {
                done = true;
            } else {
                code = errno;
                linksWork = !noHardLinks(code);
            }
        }
        if (!linksWork && !done) {
            // Claim the name by creating it exclusively, then put the bytes in its place.
            const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, newFileMode);
            code = errno;
            if (fd >= 0) {
                close(fd);
                done = rename(t.temporary.c_str(), name.c_str()) == 0;
                code = errno;
                if (done) {
                    t.temporary.clear();
                } else {
                    unlink(name.c_str());
                }
            }
        }
        if (done) {
            *chosen = name;
        } else if (code != EEXIST) {
            *error = reason(name, code);
            failed = true;
        }
    }
    if (!done && !failed) {
        *error = stem + suffix + ": no free name up to suffix -" + std::to_string(maxSuffix);
    }
    discard(files, &t);
    unblockInterrupts(blocked);
    return done;
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
