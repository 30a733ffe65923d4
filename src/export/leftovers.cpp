// Leftovers of dead runs. The process ID in a temporary's name is the test of whether
// its run is still alive: kill(PID, 0) fails with ESRCH only when no such process
// exists. A process ID used again by another process keeps the names until that one
// ends, which is safe, only late.
#include "export/leftovers.h"

#include <algorithm>
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
#include "export/set_journal.h"

namespace fv {

namespace {

constexpr const char* prefix = ".fv-";
constexpr std::size_t hexDigits = 8;              // PID and count, each "%08x"
constexpr const char* copySuffix = "-old";        // a copy of old content
constexpr const char* journalSuffix = "-set";     // the journal of a set not yet whole
constexpr std::size_t nameLength = 4 + 8 + 1 + 8; // ".fv-PPPPPPPP-NNNNNNNN"

bool allHex(const std::string& text, std::size_t at, std::size_t n) {
    for (std::size_t k = at; k < at + n; ++k) {
        if (std::strchr("0123456789abcdef", text[k]) == nullptr || text[k] == '\0') {
            return false;
        }
    }
    return true;
}

enum class Leftover { temporary, copy, journal };

// The process ID in a name of the writer's own pattern, or 0 for any other name; what
// kind of leftover it is.
pid_t writerOf(const std::string& name, Leftover* kind) {
    const auto hasSuffix = [&](const char* suffix) {
        const std::size_t n = std::strlen(suffix);
        return name.size() == nameLength + n && name.compare(nameLength, n, suffix) == 0;
    };
    *kind = hasSuffix(copySuffix)      ? Leftover::copy
            : hasSuffix(journalSuffix) ? Leftover::journal
                                       : Leftover::temporary;
    if ((name.size() != nameLength && *kind == Leftover::temporary) ||
        name.compare(0, 4, prefix) != 0 || !allHex(name, 4, hexDigits) ||
        name[4 + hexDigits] != '-' || !allHex(name, 5 + hexDigits, hexDigits)) {
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
    std::vector<std::pair<std::string, Leftover>> found;
    std::vector<pid_t> unfinished; // dead runs whose set did not change whole
    while (const dirent* entry = readdir(dir)) {
        Leftover kind = Leftover::temporary;
        const std::string name = entry->d_name;
        struct stat st = {};
        const pid_t pid = writerOf(name, &kind);
        if (gone(pid) && fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && st.st_uid == geteuid()) {
            found.emplace_back(name, kind);
            if (kind == Leftover::journal) {
                unfinished.push_back(pid);
            }
        }
    }
    closedir(dir);
    // A set whose journal stands is put back whole: the files written into get their old
    // content, and the files that took new names their old files. Without its journal the
    // set had changed whole, and its copies of old content are only left over.
    const auto unfinishedRun = [&](const std::string& name) {
        Leftover kind = Leftover::temporary;
        const pid_t pid = writerOf(name, &kind);
        return std::find(unfinished.begin(), unfinished.end(), pid) != unfinished.end();
    };
    for (const auto& [name, kind] : found) {
        if (kind == Leftover::copy && unfinishedRun(name)) {
            restoreFromCopy(folder, name);
        }
    }
    for (const auto& [name, kind] : found) {
        if (kind == Leftover::journal) {
            rollBackJournal(folder, name);
        }
    }
    for (const auto& [name, kind] : found) {
        unlinkat(folder, name.c_str(), 0); // gone already where it was put back
    }
}

} // namespace fv
