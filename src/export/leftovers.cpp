// Leftovers of dead runs. The process ID in a temporary's name is the test of whether
// its run is still alive: kill(PID, 0) fails with ESRCH only when no such process
// exists. A process ID used again by another process keeps the names until that one
// ends, which is safe, only late.
#include "export/leftovers.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "export/old_content.h"

namespace fv {

namespace {

constexpr const char* prefix = ".fv-";
constexpr std::size_t hexDigits = 8;              // PID and count, each "%08x"
constexpr const char* copySuffix = "-old";        // a copy of old content
constexpr std::size_t nameLength = 4 + 8 + 1 + 8; // ".fv-PPPPPPPP-NNNNNNNN"

bool allHex(const std::string& text, std::size_t at, std::size_t n) {
    for (std::size_t k = at; k < at + n; ++k) {
        if (std::strchr("0123456789abcdef", text[k]) == nullptr || text[k] == '\0') {
            return false;
        }
    }
    return true;
}

// The process ID in a name of the writer's own pattern, or 0 for any other name.
pid_t writerOf(const std::string& name, bool* copy) {
    const std::size_t suffix = std::strlen(copySuffix);
    *copy = name.size() == nameLength + suffix && name.compare(nameLength, suffix, copySuffix) == 0;
    if ((name.size() != nameLength && !*copy) || name.compare(0, 4, prefix) != 0 ||
        !allHex(name, 4, hexDigits) || name[4 + hexDigits] != '-' ||
        !allHex(name, 5 + hexDigits, hexDigits)) {
        return 0;
    }
    return static_cast<pid_t>(std::strtoul(name.substr(4, hexDigits).c_str(), nullptr, 16));
}

bool gone(pid_t pid) {
    return pid > 0 && pid != getpid() && kill(pid, 0) != 0 && errno == ESRCH;
}

} // namespace

void removeLeftovers(int folder) {
    const int fd = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd >= 0 ? fdopendir(fd) : nullptr;
    if (dir == nullptr) {
        if (fd >= 0) {
            close(fd);
        }
        return;
    }
    std::vector<std::pair<std::string, bool>> found;
    while (const dirent* entry = readdir(dir)) {
        bool copy = false;
        const std::string name = entry->d_name;
        struct stat st = {};
        if (gone(writerOf(name, &copy)) &&
            fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == geteuid()) {
            found.emplace_back(name, copy);
        }
    }
    closedir(dir);
    for (const auto& [name, copy] : found) {
        if (copy) {
            restoreFromCopy(folder, name);
        } else {
            unlinkat(folder, name.c_str(), 0);
        }
    }
}

} // namespace fv
