// Whether a rename keeps the file as it was. Extended attributes (ACLs among them) are
// compared name by name and value by value, so that a label every file has (such as a
// security module's) does not count as a difference when the new file has it too.
#include "export/replace_check.h"

#include <cerrno>
#include <map>
#include <string>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace fv {

namespace {

constexpr mode_t allModeBits = 07777; // permissions with setuid, setgid and sticky

using Attributes = std::map<std::string, std::string>;

// The extended attributes of the file at path; false when they cannot be read, as from a
// file system or a file that does not let them be listed.
bool readAttributes(const std::string& path, Attributes* attributes) {
    const ssize_t size = listxattr(path.c_str(), nullptr, 0);
    if (size < 0) {
        return errno == ENOTSUP; // a file system without them: none
    }
    std::vector<char> names(static_cast<std::size_t>(size) + 1);
    const ssize_t got = listxattr(path.c_str(), names.data(), names.size());
    if (got < 0) {
        return false;
    }
    for (ssize_t at = 0; at < got;) {
        const std::string name(names.data() + at);
        at += static_cast<ssize_t>(name.size()) + 1;
        const ssize_t length = getxattr(path.c_str(), name.c_str(), nullptr, 0);
        if (length < 0) {
            return false;
        }
        std::string value(static_cast<std::size_t>(length), '\0');
        if (getxattr(path.c_str(), name.c_str(), value.data(), value.size()) != length) {
            return false;
        }
        (*attributes)[name] = value;
    }
    return true;
}

// The path of descriptor fd through /proc, which leads to its file whatever fd is.
std::string descriptorPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

} // namespace

bool renameMayKeepTarget(const struct stat& target) {
    return target.st_uid == geteuid() && target.st_nlink == 1;
}

bool matchTarget(int fd, const struct stat& target, int targetPath) {
    struct stat now = {};
    if (fstat(fd, &now) == 0 && now.st_gid != target.st_gid) {
        fchown(fd, static_cast<uid_t>(-1), target.st_gid); // allowed for a group of this user's
    }
    // After the group: a change of group clears setgid.
    fchmod(fd, target.st_mode & allModeBits);
    if (fstat(fd, &now) != 0 || now.st_uid != target.st_uid || now.st_gid != target.st_gid ||
        (now.st_mode & allModeBits) != (target.st_mode & allModeBits)) {
        return false;
    }
    Attributes old;
    Attributes made;
    return readAttributes(descriptorPath(targetPath), &old) &&
           readAttributes(descriptorPath(fd), &made) && old == made;
}

bool matchModeAfterWriting(int fd, const struct stat& target) {
    struct stat now = {};
    fchmod(fd, target.st_mode & allModeBits);
    return fstat(fd, &now) == 0 && (now.st_mode & allModeBits) == (target.st_mode & allModeBits);
}

} // namespace fv
