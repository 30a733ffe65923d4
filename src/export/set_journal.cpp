// The journal of a set: one line an entry, "INODE\tKEPT\tNAME" (KEPT empty for a name that
// was free). A name with a tab or a newline cannot be written into it: such a set is
// refused before anything changes.
#include "export/set_journal.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "export/whole_file.h"

namespace fv {

namespace {

constexpr mode_t journalMode = 0600; // the run's own note [permission bits]

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
    bool ok = writeWhole(fd, text, false) && fsync(fd) == 0;
    const int code = errno;
    ok = close(fd) == 0 && ok;
    ok = ok && flushFolder(folder);
    if (!ok) {
        unlinkat(folder, journalName.c_str(), 0);
        errno = code != 0 ? code : EIO;
    }
    return ok;
}

bool removeJournal(int folder, const std::string& journalName) {
    return unlinkat(folder, journalName.c_str(), 0) == 0 && flushFolder(folder);
}

void rollBackJournal(int folder, const std::string& journalName) {
    const int fd = openat(folder, journalName.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    std::string text;
    readWhole(fd, &text); // what could be read: a line cut short is passed over
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
    flushFolder(folder);
    unlinkat(folder, journalName.c_str(), 0);
}

} // namespace fv
