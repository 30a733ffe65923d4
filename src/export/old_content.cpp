// Copies of old content. A copy is a header line that says what it is, a line with the
// file's device, inode, name length and content length, the name, then the old bytes:
//   "frictionvib old content\n" "DEV INO NAMELENGTH SIZE\n" NAME BYTES
// The name comes with its length, as a name may hold any byte but '/' and NUL. A copy
// shorter than it says was cut short while it was made, before its file was touched: it
// is removed without being put back.
#include "export/old_content.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "export/whole_file.h"

namespace fv {

namespace {

constexpr const char* copyMagic = "frictionvib old content\n";
constexpr mode_t copyMode = 0600; // the old content may be private: only its writer reads it

std::string header(const struct stat& st, const std::string& name, std::size_t size) {
    char line[96];
    std::snprintf(
        line, sizeof line, "%llu %llu %zu %lld\n", static_cast<unsigned long long>(st.st_dev),
        static_cast<unsigned long long>(st.st_ino), name.size(), static_cast<long long>(size));
    return copyMagic + std::string(line) + name;
}

// The file's name, device and inode, and where its bytes start, from a whole copy's
// text; false for a copy cut short.
bool parseHeader(const std::string& text, std::string* name, struct stat* st, std::size_t* at) {
    const std::size_t magic = std::strlen(copyMagic);
    const std::size_t eol = text.find('\n', magic);
    unsigned long long dev = 0;
    unsigned long long ino = 0;
    std::size_t length = 0;
    long long size = 0;
    if (text.compare(0, magic, copyMagic) != 0 || eol == std::string::npos ||
        std::sscanf(text.c_str() + magic, "%llu %llu %zu %lld", &dev, &ino, &length, &size) != 4 ||
        size < 0 || eol + 1 + length + static_cast<unsigned long long>(size) != text.size()) {
        return false;
    }
    *name = text.substr(eol + 1, length);
    st->st_dev = static_cast<dev_t>(dev);
    st->st_ino = static_cast<ino_t>(ino);
    *at = eol + 1 + length;
    return true;
}

} // namespace

bool keepOldContent(int fd, int folder, const std::string& name, const std::string& copyName,
                    OldContent* old) {
    struct stat st = {};
    struct stat reading = {};
    const int in = open(("/proc/self/fd/" + std::to_string(fd)).c_str(),
                        O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    old->bytes.clear();
    const bool read = in >= 0 && fstat(fd, &st) == 0 && fstat(in, &reading) == 0 &&
                      st.st_dev == reading.st_dev && st.st_ino == reading.st_ino &&
                      readWhole(in, &old->bytes);
    const int code = errno;
    if (in >= 0) {
        close(in);
    }
    if (!read) {
        errno = code;
        return false;
    }
    old->kept = true;
    const int copy =
        openat(folder, copyName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, copyMode);
    if (copy < 0) {
        return false;
    }
    bool ok = writeWhole(copy, header(st, name, old->bytes.size()) + old->bytes, true) &&
              fsync(copy) == 0;
    const int writeCode = errno;
    ok = close(copy) == 0 && ok;
    if (!ok) {
        unlinkat(folder, copyName.c_str(), 0);
        errno = writeCode;
        return false;
    }
    flushFolder(folder);
    old->copyFolder = folder;
    old->copyName = copyName;
    return true;
}

bool putBack(int fd, const std::string& bytes) {
    return writeWhole(fd, bytes, true) && ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
           fsync(fd) == 0;
}

bool removeCopy(OldContent* old) {
    if (old->copyName.empty()) {
        return true;
    }
    if (unlinkat(old->copyFolder, old->copyName.c_str(), 0) != 0 && errno != ENOENT) {
        return false;
    }
    old->copyName.clear();
    return true;
}

bool restoreFromCopy(int folder, const std::string& copyName) {
    const int copy = openat(folder, copyName.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    std::string text;
    if (copy < 0 || !readWhole(copy, &text)) {
        const int code = errno;
        if (copy >= 0) {
            close(copy);
        }
        errno = code;
        return false;
    }
    close(copy);
    std::string name;
    struct stat copied = {};
    std::size_t at = 0;
    if (!parseHeader(text, &name, &copied, &at)) {
        return unlinkat(folder, copyName.c_str(), 0) == 0 || errno == ENOENT;
    }
    const int file = openat(folder, name.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    struct stat now = {};
    bool ok = true;
    if (file >= 0 && fstat(file, &now) == 0 && S_ISREG(now.st_mode) &&
        now.st_dev == copied.st_dev && now.st_ino == copied.st_ino) {
        while (flock(file, LOCK_EX) != 0 && errno == EINTR) {
        }
        // Another run may have put it back meanwhile, and removed it.
        struct stat still = {};
        if (fstatat(folder, copyName.c_str(), &still, AT_SYMLINK_NOFOLLOW) == 0) {
            ok = putBack(file, text.substr(at));
        }
    } else if (file < 0 && errno != ENOENT) {
        ok = false; // the file is there but cannot be written now: keep its copy
    }
    const int code = errno;
    if (file >= 0) {
        close(file);
    }
    if (!ok) {
        errno = code;
        return false;
    }
    return unlinkat(folder, copyName.c_str(), 0) == 0 || errno == ENOENT;
}

} // namespace fv
