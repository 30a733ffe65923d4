// The journal of a set: one line an entry, "INODE\tKEPT\tNAME" (KEPT empty for a name that
// was free). A name with a tab or a newline cannot be written into it: such a set is
// refused before anything changes.
#include "export/set_journal.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fv {

namespace {

constexpr mode_t journalMode = 0600;             // the run's own note [permission bits]
constexpr std::size_t maxJournalBytes = 1 << 20; // far more than a set's names [bytes]

// Flushes the folder's names to the disk. A folder this user may write but not read
// (0333) cannot be opened to be flushed: its names reach the disk with the file system's
// own writeback, which a SIGKILL does not stop (only a power cut can then lose them).
bool syncFolder(int folder) {
    const int fd = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno == EACCES;
    }
    const bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

bool writeAllTo(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string readAllFrom(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0 || text.size() + static_cast<std::size_t>(n) > maxJournalBytes) {
            return text;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

bool plainName(const std::string& name) {
    return name.find('\t') == std::string::npos && name.find('\n') == std::string::npos;
}

} // namespace

bool writeJournal(int folder, const std::string& journalName,
                  const std::vector<JournalEntry>& entries) {
    std::string text;
    for (const JournalEntry& e : entries) {
        if (!plainName(e.kept) || !plainName(e.name)) {
            errno = EINVAL;
            return false;
        }
        text += std::to_string(e.inode) + "\t" + e.kept + "\t" + e.name + "\n";
    }
    const int fd = openat(folder, journalName.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, journalMode);
    if (fd < 0) {
        return false;
    }
    bool ok = writeAllTo(fd, text) && fsync(fd) == 0;
    const int code = errno;
    ok = close(fd) == 0 && ok;
    ok = ok && syncFolder(folder);
    if (!ok) {
        unlinkat(folder, journalName.c_str(), 0);
        errno = code != 0 ? code : EIO;
    }
    return ok;
}

bool removeJournal(int folder, const std::string& journalName) {
    return unlinkat(folder, journalName.c_str(), 0) == 0 && syncFolder(folder);
}

void rollBackJournal(int folder, const std::string& journalName) {
    const int fd = openat(folder, journalName.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    const std::string text = readAllFrom(fd);
    close(fd);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            break; // a line cut short: the journal was being written, nothing changed yet
        }
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        const std::size_t first = line.find('\t');
        const std::size_t second = line.find('\t', first + 1);
        if (first == std::string::npos || second == std::string::npos) {
            continue;
        }
        const unsigned long long inode = std::strtoull(line.c_str(), nullptr, 10);
        const std::string kept = line.substr(first + 1, second - first - 1);
        const std::string name = line.substr(second + 1);
        struct stat now = {};
        const bool named = fstatat(folder, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0;
        const bool ours = named && static_cast<unsigned long long>(now.st_ino) == inode;
        if (!kept.empty() && (ours || !named)) {
            renameat(folder, kept.c_str(), folder, name.c_str()); // the old file back
        } else if (kept.empty() && ours) {
            unlinkat(folder, name.c_str(), 0); // the name was free
        }
    }
    syncFolder(folder);
    unlinkat(folder, journalName.c_str(), 0);
}

} // namespace fv
