// Files written safely. What a path names is settled first, by the kernel (links
// followed under the system's protections, the kind of file, whether this user may
// write it, and where the file's own name is); a replacement is staged under a short
// temporary name in that folder and noted for removal on a signal, a file written into
// is opened and its room reserved, streams are written directly, and then, with the
// folders and the files written into locked and the outside signals held back, dead
// runs' leftovers go, the files written into get their content (their old content kept
// first), the staged files take their names, and the files written into are cut to
// length: a failure at any step undoes the steps before it. Every step works through
// descriptors of the folders, so that only a name's own length counts.
#include "export/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "export/file_lock.h"
#include "export/folder_lock.h"
#include "export/interrupt.h"
#include "export/leftovers.h"
#include "export/old_content.h"
#include "export/replace_check.h"
#include "export/set_journal.h"
#include "export/whole_file.h"

namespace fv {

namespace {

constexpr mode_t newFileMode = 0666; // the umask narrows both, as for any new file
constexpr mode_t folderMode = 0777;
constexpr int maxNameAttempts = 100; // temporary names tried before giving up
constexpr int maxSuffix = 1000;      // new names tried before giving up

enum class Kind {
    missing, // nothing has the name yet
    regular, // a regular file: replaced, or written into
    stream,  // a device or a FIFO, written into
    socket,  // a socket, written into through a connection
};

// A file of a set on its way to its target. Owns its descriptors.
struct Target {
    std::string given;     // the path as the user named it, for messages
    int givenFolder = -1;  // the folder of the path as given, opened by the kernel
    std::string givenName; // the last component of the path as given
    Kind kind = Kind::missing;
    int folder = -1;           // the folder that holds the file's own name (links followed)
    std::string name;          // that name
    struct stat st = {};       // the regular file there when settled
    int file = -1;             // a descriptor of that file
    bool inPlace = false;      // written into rather than replaced
    int inPlaceFd = -1;        // the file opened for writing into
    off_t reservedEnd = 0;     // room reserved for it by fallocate up to here, or 0
    OldContent old;            // what it held, to undo the writing into it
    bool written = false;      // new bytes are going into it: undone on a failure
    int madeSlot = -1;         // note of an empty file made through a dangling link, or -1
    std::string temporary;     // the staged bytes, for a replacement
    int slot = -1;             // the temporary's note for a signal, or -1
    std::string plannedKept;   // the name it is kept aside under, as the set's journal has it
    std::string kept;          // the file that was there, kept aside during the commit
    bool keptByRename = false; // kept aside by a rename (no hard links): the name is free

    Target() = default;
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;
    ~Target() {
        for (int fd : {givenFolder, folder, file, inPlaceFd}) {
            if (fd >= 0) {
                close(fd);
            }
        }
    }
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

std::string baseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// ".fv-PPPPPPPP-NNNNNNNN": 21 bytes whatever the target's name, unique within this
// process by the count and across processes by the PID; hidden, as a file in the making.
std::string temporaryName(TemporaryFiles* files) {
    char name[32];
    std::snprintf(name, sizeof name, ".fv-%08x-%08x", static_cast<unsigned>(getpid()),
                  files->counter++);
    return name;
}

// Whether a failed link() means that the file system has no hard links (FAT, exFAT,
// some network shares) rather than a real failure.
bool noHardLinks(int code) {
    return code == EPERM || code == EOPNOTSUPP || code == ENOTSUP || code == ENOSYS;
}

// The first cleanup that could not be done, for the report.
void noteLeftover(std::string* cleanup, const Target& t, const std::string& name, int code) {
    if (cleanup->empty()) {
        *cleanup = t.given + ": its temporary " + name + " is left: " + std::strerror(code);
    }
}

// The file's own folder and name, where the kernel's name for it (links followed)
// leads back to it; false when it cannot be told, and then the file is written into.
bool locate(Target* t) {
    struct stat named = {};
    if (fstatat(t->givenFolder, t->givenName.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        sameFile(named, t->st)) {
        t->folder = fcntl(t->givenFolder, F_DUPFD_CLOEXEC, 0);
        t->name = t->givenName;
        return t->folder >= 0;
    }
    char path[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(t->file);
    const ssize_t n = readlink(link.c_str(), path, sizeof path);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof path) {
        return false;
    }
    const std::string real(path, static_cast<std::size_t>(n));
    const int folder = open(folderOf(real).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        return false;
    }
    if (fstatat(folder, baseName(real).c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        !sameFile(named, t->st)) {
        close(folder);
        return false;
    }
    t->folder = folder;
    t->name = baseName(real);
    return true;
}

// What the target of t names, and whether it may be written. The kernel follows the
// path as given; a dangling link is followed by creating the file it names.
bool settle(TemporaryFiles* files, Target* t, std::string* error) {
    t->givenName = baseName(t->given);
    if (t->givenName.empty() || t->givenName == "." || t->givenName == "..") {
        *error = reason(t->given, EISDIR);
        return false;
    }
    t->givenFolder = open(folderOf(t->given).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (t->givenFolder < 0) {
        *error = reason(t->given, errno);
        return false;
    }
    const char* name = t->givenName.c_str();
    t->file = openat(t->givenFolder, name, O_PATH | O_CLOEXEC);
    bool made = false;
    if (t->file < 0 && errno == ENOENT) {
        struct stat link = {};
        if (fstatat(t->givenFolder, name, &link, AT_SYMLINK_NOFOLLOW) != 0) {
            t->kind = Kind::missing;
            t->folder = fcntl(t->givenFolder, F_DUPFD_CLOEXEC, 0);
            t->name = t->givenName;
            return t->folder >= 0 || (*error = reason(t->given, errno), false);
        }
        t->file = openat(t->givenFolder, name,
                         O_WRONLY | O_CREAT | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, newFileMode);
        made = t->file >= 0;
    }
    if (t->file < 0 || fstat(t->file, &t->st) != 0) {
        *error = reason(t->given, errno);
        return false;
    }
    if (S_ISDIR(t->st.st_mode)) {
        *error = reason(t->given, EISDIR);
        return false;
    }
    // As cp: a file this user may not write is refused, not replaced behind its back.
    if (!made && faccessat(t->givenFolder, name, W_OK, AT_EACCESS) != 0) {
        *error = reason(t->given, errno);
        return false;
    }
    if (!S_ISREG(t->st.st_mode)) {
        t->kind = S_ISSOCK(t->st.st_mode) ? Kind::socket : Kind::stream;
        return true;
    }
    t->kind = Kind::regular;
    t->inPlace = !locate(t) || !renameMayKeepTarget(t->st);
    if (made && t->folder >= 0) {
        t->madeSlot = noteTemporary(files, t->folder, t->name);
    }
    return true;
}

// Removes the empty file made through a dangling link, if it is still the one made.
void removeMade(TemporaryFiles* files, Target* t, std::string* cleanup) {
    if (t->madeSlot < 0) {
        return;
    }
    struct stat now = {};
    if (fstatat(t->folder, t->name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
        sameFile(now, t->st) && now.st_size == 0 && unlinkat(t->folder, t->name.c_str(), 0) != 0) {
        noteLeftover(cleanup, *t, t->name, errno);
    }
    forgetTemporary(files, t->madeSlot);
    t->madeSlot = -1;
}

void discard(TemporaryFiles* files, Target* t, std::string* cleanup) {
    if (!t->temporary.empty()) {
        if (unlinkat(t->folder, t->temporary.c_str(), 0) != 0 && errno != ENOENT) {
            noteLeftover(cleanup, *t, t->temporary, errno);
        }
        t->temporary.clear();
    }
    forgetTemporary(files, t->slot);
    t->slot = -1;
}

// The file to be written into, opened by the path as given, with room on the disk for
// the whole new content: a full disk fails here, before a byte of the old content
// changes.
bool prepareInPlace(Target* t, std::size_t size, std::string* error) {
    if (t->inPlaceFd >= 0) {
        close(t->inPlaceFd);
    }
    t->inPlaceFd =
        openat(t->givenFolder, t->givenName.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    struct stat now = {};
    if (t->inPlaceFd < 0 || fstat(t->inPlaceFd, &now) != 0) {
        *error = reason(t->given, errno);
        return false;
    }
    if (!S_ISREG(now.st_mode)) {
        *error = t->given + ": changed while it was being written";
        return false;
    }
    t->reservedEnd = 0;
    if (size > 0) {
        if (fallocate(t->inPlaceFd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) == 0) {
            t->reservedEnd = static_cast<off_t>(size);
        } else if (errno == ENOSPC || errno == EDQUOT) {
            *error = reason(t->given, errno);
            return false;
        }
    }
    return true;
}

// The room reserved past the file's end goes back to the disk: a truncation to its own
// length frees it on most file systems, a hole punched past the end on tmpfs.
void giveBackRoom(Target* t) {
    struct stat now = {};
    if (t->reservedEnd > 0 && fstat(t->inPlaceFd, &now) == 0 && t->reservedEnd > now.st_size) {
        ftruncate(t->inPlaceFd, now.st_size);
        fallocate(t->inPlaceFd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, now.st_size,
                  t->reservedEnd - now.st_size);
    }
    t->reservedEnd = 0;
}

// The bytes under a new temporary name beside the target, on the disk; or, where the
// new file cannot be made like the old one, the old one readied to be written into.
bool stage(TemporaryFiles* files, Target* t, const std::string& bytes, std::string* error) {
    if (t->inPlace) {
        return prepareInPlace(t, bytes.size(), error);
    }
    int fd = -1;
    int code = 0;
    for (int attempt = 0; fd < 0 && attempt < maxNameAttempts; ++attempt) {
        t->temporary = temporaryName(files);
        t->slot = noteTemporary(files, t->folder, t->temporary);
        if (t->slot < 0) {
            code = EMFILE; // more files under way than the record holds
            break;
        }
        fd = openat(t->folder, t->temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    newFileMode);
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
    std::string cleanup;
    if (t->kind == Kind::regular && !matchTarget(fd, t->st, t->file)) {
        close(fd); // a rename would change more than the content
        discard(files, t, &cleanup);
        t->inPlace = true;
        return cleanup.empty() ? prepareInPlace(t, bytes.size(), error) : (*error = cleanup, false);
    }
    bool ok = writeWhole(fd, bytes, false);
    code = errno;
    // The bits once more after the writing, which clears setuid and setgid for a user
    // without CAP_FSETID; a new file whose bits then differ from the target's is not used.
    const bool sameBits = !ok || t->kind != Kind::regular || matchModeAfterWriting(fd, t->st);
    ok = ok && fsync(fd) == 0;
    code = ok ? code : errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (ok && !sameBits) {
        discard(files, t, &cleanup);
        t->inPlace = true;
        return cleanup.empty() ? prepareInPlace(t, bytes.size(), error) : (*error = cleanup, false);
    }
    if (!ok) {
        *error = reason(t->given, code);
        discard(files, t, &cleanup);
        if (!cleanup.empty()) {
            *error += "; " + cleanup;
        }
    }
    return ok;
}

// The file to be written into, still the one the path names: a concurrent run may have
// replaced it since it was opened, and then the new one is written into instead.
bool stillNamed(Target* t, std::size_t size, std::string* error) {
    struct stat opened = {};
    struct stat named = {};
    if (fstat(t->inPlaceFd, &opened) == 0 &&
        fstatat(t->givenFolder, t->givenName.c_str(), &named, 0) == 0 && sameFile(opened, named)) {
        return true;
    }
    giveBackRoom(t);
    return prepareInPlace(t, size, error);
}

// What is needed to undo the writing into t: its old content in memory and in a copy
// beside it, or at least room reserved for the new content, which rules out a full disk;
// without either the file is refused before anything changes.
bool keepOld(TemporaryFiles* files, Target* t, std::string* error) {
    const bool own = t->folder >= 0;
    const std::string copy = temporaryName(files) + "-old";
    if (keepOldContent(t->inPlaceFd, own ? t->folder : t->givenFolder, own ? t->name : t->givenName,
                       copy, &t->old) ||
        t->reservedEnd > 0) {
        return true;
    }
    *error =
        t->given + ": cannot keep its old content to undo the writing: " + std::strerror(errno);
    return false;
}

// The new content over the old, from the first byte, on the disk; the file is cut to
// its new length only once the whole set is written, so that until then the old content
// can go back into blocks the file still has.
bool writeInPlace(Target* t, const std::string& bytes, std::string* error) {
    t->written = true;
    const bool ok = writeWhole(t->inPlaceFd, bytes, true) && fsync(t->inPlaceFd) == 0;
    if (!ok) {
        *error = reason(t->given, errno);
    }
    return ok;
}

// After the set: a file written into keeps its new content, or on failure gets its old
// content back; its copy goes, unless the old content could not go back.
void settleInPlace(const std::vector<Target*>& inPlace, bool ok, std::string* cleanup) {
    for (Target* t : inPlace) {
        if (!ok && t->written && !(t->old.kept && putBack(t->inPlaceFd, t->old.bytes))) {
            if (cleanup->empty()) {
                *cleanup = t->given + ": written in part; its old content could not be put back" +
                           (t->old.copyName.empty() ? "" : ", it is kept in " + t->old.copyName);
            }
            continue;
        }
        t->written = false;
        if (!removeCopy(&t->old)) {
            noteLeftover(cleanup, *t, t->old.copyName, errno);
        }
    }
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
    const int fd = t.kind == Kind::socket ? connectSocket(t.given)
                                          : openat(t.givenFolder, t.givenName.c_str(),
                                                   O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *error = reason(t.given, errno);
        return false;
    }
    bool ok = writeWhole(fd, bytes, false);
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

// Keeps the file at t's target aside under a temporary name: a second hard link, or
// where there are none, a rename (the name is free until the new file takes it).
bool keepAside(TemporaryFiles* files, Target* t, std::string* error) {
    struct stat now = {};
    const char* name = t->name.c_str();
    if (fstatat(t->folder, name, &now, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT || (*error = reason(t->given, errno), false);
    }
    // Another run may have replaced the file meanwhile; its file is replaced in turn when
    // it would have been at the start.
    if (!S_ISREG(now.st_mode) || (!sameFile(now, t->st) && !renameMayKeepTarget(now))) {
        *error = t->given + ": changed while it was being written";
        return false;
    }
    t->kept = t->plannedKept.empty() ? temporaryName(files) : t->plannedKept;
    if (linkat(t->folder, name, t->folder, t->kept.c_str(), 0) == 0) {
        return true;
    }
    const int code = errno;
    if (noHardLinks(code) && renameat(t->folder, name, t->folder, t->kept.c_str()) == 0) {
        t->keptByRename = true;
        return true;
    }
    t->kept.clear();
    *error = reason(t->given, code);
    return false;
}

// After the commit: the old files go, or on failure come back; the temporaries go.
void settleAfterCommit(TemporaryFiles* files, std::vector<Target*>& staged, bool ok,
                       std::size_t renamed, std::string* cleanup) {
    for (std::size_t k = 0; k < staged.size(); ++k) {
        Target* t = staged[k];
        const bool putBack = !ok && (k < renamed || t->keptByRename);
        const char* name = t->name.c_str();
        if (putBack && !t->kept.empty()) {
            if (renameat(t->folder, t->kept.c_str(), t->folder, name) != 0) {
                noteLeftover(cleanup, *t, t->kept, errno);
            }
        } else if (putBack) {
            unlinkat(t->folder, name, 0); // the name was free before
        } else if (!t->kept.empty() && unlinkat(t->folder, t->kept.c_str(), 0) != 0) {
            noteLeftover(cleanup, *t, t->kept, errno);
        }
        t->kept.clear();
        discard(files, t, cleanup);
    }
}

// Each folder once, cleaned of what dead runs left in it.
void removeAllLeftovers(const std::vector<int>& folders) {
    std::vector<std::pair<dev_t, ino_t>> seen;
    for (int f : folders) {
        struct stat st = {};
        if (fstat(f, &st) == 0 && std::find(seen.begin(), seen.end(),
                                            std::make_pair(st.st_dev, st.st_ino)) == seen.end()) {
            seen.emplace_back(st.st_dev, st.st_ino);
            removeLeftovers(f);
        }
    }
}

// The set's journal, one in each folder of the set: the names that take a new file, with
// the names their old files are kept aside under. The folders written into get one too,
// so that a dead run's copies of old content are put back only while it stands.
struct SetJournals {
    std::vector<int> folders;
    std::string name;
};

bool writeJournals(TemporaryFiles* files, const std::vector<Target*>& staged,
                   const std::vector<Target*>& inPlace, SetJournals* journals, std::string* error) {
    journals->name = temporaryName(files) + "-set";
    std::vector<std::pair<int, std::vector<JournalEntry>>> byFolder;
    const auto entriesOf = [&](int folder) -> std::vector<JournalEntry>& {
        for (auto& [f, entries] : byFolder) {
            struct stat a = {};
            struct stat b = {};
            if (f == folder || (fstat(f, &a) == 0 && fstat(folder, &b) == 0 &&
                                a.st_dev == b.st_dev && a.st_ino == b.st_ino)) {
                return entries;
            }
        }
        byFolder.emplace_back(folder, std::vector<JournalEntry>());
        return byFolder.back().second;
    };
    for (Target* t : staged) {
        struct stat st = {};
        if (fstatat(t->folder, t->temporary.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            *error = reason(t->given, errno);
            return false;
        }
        t->plannedKept = temporaryName(files);
        entriesOf(t->folder).push_back(
            {t->plannedKept, t->name, static_cast<unsigned long long>(st.st_ino)});
    }
    for (const Target* t : inPlace) {
        entriesOf(t->folder >= 0 ? t->folder : t->givenFolder);
    }
    for (const auto& [folder, entries] : byFolder) {
        if (!writeJournal(folder, journals->name, entries)) {
            *error = "cannot note the set before writing it: " + std::string(std::strerror(errno));
            return false;
        }
        journals->folders.push_back(folder);
    }
    return true;
}

// The moment the set changes: its journals go.
bool removeJournals(SetJournals* journals, std::string* error) {
    bool ok = true;
    for (int folder : journals->folders) {
        if (!removeJournal(folder, journals->name) && ok) {
            *error = "cannot finish the set: " + std::string(std::strerror(errno));
            ok = false;
        }
    }
    journals->folders.clear();
    return ok;
}

// Under the locks: the old content of the files written into is kept and the files to be
// replaced are kept aside, the set's journal is written, the files written into get
// their content, the staged files take their names, and only then are the files written
// into cut to their new length; the journal's removal is the moment the set changes. A
// failure anywhere undoes all of it, and so does the next run after a SIGKILL.
bool writeLocked(TemporaryFiles* files, std::vector<Target*>& staged, std::vector<Target*>& inPlace,
                 const FileContent* contents, const std::vector<Target>& all, std::string* error,
                 std::string* cleanup) {
    const auto bytesOf = [&](const Target* t) -> const std::string& {
        return contents[t - all.data()].bytes;
    };
    bool ok = true;
    std::vector<int> fds;
    for (Target* t : inPlace) {
        ok = ok && stillNamed(t, bytesOf(t).size(), error);
        fds.push_back(t->inPlaceFd);
    }
    const FileLocks fileLocks(ok ? fds : std::vector<int>());
    for (Target* t : inPlace) {
        ok = ok && keepOld(files, t, error);
    }
    SetJournals journals;
    ok = ok && writeJournals(files, staged, inPlace, &journals, error);
    for (Target* t : staged) {
        ok = ok && keepAside(files, t, error);
    }
    for (Target* t : inPlace) {
        ok = ok && writeInPlace(t, bytesOf(t), error);
    }
    std::size_t renamed = 0;
    for (; ok && renamed < staged.size(); ++renamed) {
        Target* t = staged[renamed];
        if (renameat(t->folder, t->temporary.c_str(), t->folder, t->name.c_str()) != 0) {
            *error = reason(t->given, errno);
            ok = false;
            break;
        }
        t->temporary.clear();
    }
    for (Target* t : inPlace) {
        if (ok && ftruncate(t->inPlaceFd, static_cast<off_t>(bytesOf(t).size())) != 0) {
            *error = reason(t->given, errno);
            ok = false;
        }
    }
    ok = ok && removeJournals(&journals, error);
    if (!ok) {
        settleAfterCommit(files, staged, false, renamed, cleanup);
    }
    settleInPlace(inPlace, ok, cleanup);
    if (ok) {
        settleAfterCommit(files, staged, true, renamed, cleanup);
    }
    std::string unused;
    removeJournals(&journals, &unused); // after a failure, once the set is back
    return ok;
}

// The set changes whole, with the folders and then the files written into locked, and
// the outside signals held back.
bool commit(TemporaryFiles* files, std::vector<Target*>& staged, std::vector<Target*>& inPlace,
            const FileContent* contents, const std::vector<Target>& all, std::string* error,
            std::string* cleanup) {
    std::vector<int> folders;
    for (const std::vector<Target*>* group : {&staged, &inPlace}) {
        for (const Target* t : *group) {
            folders.push_back(t->folder >= 0 ? t->folder : t->givenFolder);
        }
    }
    BlockedInterrupts blocked;
    blockInterrupts(&blocked);
    bool ok = true;
    {
        const FolderLocks locks(folders);
        removeAllLeftovers(folders);
        ok = writeLocked(files, staged, inPlace, contents, all, error, cleanup);
        for (const std::vector<Target*>* group : {&staged, &inPlace}) {
            for (Target* t : *group) {
                if (ok) {
                    forgetTemporary(files, t->madeSlot); // now a file of the set
                    t->madeSlot = -1;
                }
            }
        }
    }
    unblockInterrupts(blocked);
    return ok;
}

// The report of a failure and of a cleanup that could not be done, or of the cleanup
// alone after a success.
bool finish(bool ok, const std::string& cleanup, std::string* error) {
    if (cleanup.empty()) {
        return ok;
    }
    *error = ok ? cleanup : *error + "; " + cleanup;
    return false;
}

} // namespace

bool writeFileSet(TemporaryFiles* temporaries, const FileContent* files, int count,
                  std::string* error) {
    std::vector<Target> targets(static_cast<std::size_t>(count));
    bool ok = true;
    for (int k = 0; ok && k < count; ++k) {
        targets[static_cast<std::size_t>(k)].given = files[k].path;
        ok = settle(temporaries, &targets[static_cast<std::size_t>(k)], error);
    }
    std::vector<Target*> staged;
    std::vector<Target*> inPlace;
    for (int k = 0; ok && k < count; ++k) {
        Target& t = targets[static_cast<std::size_t>(k)];
        if (t.kind == Kind::missing || t.kind == Kind::regular) {
            ok = stage(temporaries, &t, files[k].bytes, error);
            if (ok) {
                (t.inPlace ? inPlace : staged).push_back(&t);
            }
        }
    }
    for (int k = 0; ok && k < count; ++k) {
        const Target& t = targets[static_cast<std::size_t>(k)];
        if (t.kind == Kind::stream || t.kind == Kind::socket) {
            ok = writeStream(t, files[k].bytes, error);
        }
    }
    std::string cleanup;
    if (ok) {
        ok = commit(temporaries, staged, inPlace, files, targets, error, &cleanup);
    }
    for (Target& t : targets) {
        giveBackRoom(&t);
        discard(temporaries, &t, &cleanup);
        removeMade(temporaries, &t, &cleanup);
    }
    return finish(ok, cleanup, error);
}

bool writeNewFile(TemporaryFiles* files, const std::string& stem, const std::string& suffix,
                  const std::string& bytes, std::string* chosen, std::string* error) {
    Target t;
    t.given = stem + suffix;
    t.folder = open(folderOf(t.given).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (t.folder < 0) {
        *error = reason(t.given, errno);
        return false;
    }
    removeLeftovers(t.folder);
    if (!stage(files, &t, bytes, error)) {
        return false;
    }
    const std::string folder =
        t.given.rfind('/') == std::string::npos ? "" : folderOf(t.given) + "/";
    const std::string base = baseName(stem);
    BlockedInterrupts blocked;
    blockInterrupts(&blocked);
    bool linksWork = true;
    bool done = false;
    bool failed = false;
    for (int n = 1; !done && !failed && n <= maxSuffix; ++n) {
        const std::string name = n == 1 ? base + suffix : base + "-" + std::to_string(n) + suffix;
        int code = 0;
        if (linksWork) {
            if (linkat(t.folder, t.temporary.c_str(), t.folder, name.c_str(), 0) == 0) {
                done = true;
            } else {
                code = errno;
                linksWork = !noHardLinks(code);
            }
        }
        if (!linksWork && !done) {
            // Claim the name by creating it exclusively, then put the bytes in its place.
            const int fd = openat(t.folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                                  newFileMode);
            code = errno;
            if (fd >= 0) {
                close(fd);
                done = renameat(t.folder, t.temporary.c_str(), t.folder, name.c_str()) == 0;
                code = errno;
                if (done) {
                    t.temporary.clear();
                } else {
                    unlinkat(t.folder, name.c_str(), 0);
                }
            }
        }
        if (done) {
            *chosen = folder + name;
        } else if (code != EEXIST) {
            *error = reason(folder + name, code);
            failed = true;
        }
    }
    if (!done && !failed) {
        *error = stem + suffix + ": no free name up to suffix -" + std::to_string(maxSuffix);
    }
    std::string cleanup;
    discard(files, &t, &cleanup);
    unblockInterrupts(blocked);
    return finish(done, cleanup, error);
}

bool makeFolder(const std::string& dir, std::vector<std::string>* created, std::string* error) {
    // Each prefix ending before a '/' in turn, then dir itself.
    for (std::size_t i = 1; i <= dir.size(); ++i) {
        if (i < dir.size() && dir[i] != '/') {
            continue;
        }
        const std::string prefix = dir.substr(0, i);
        if (mkdir(prefix.c_str(), folderMode) == 0) {
            created->push_back(prefix);
        } else if (errno != EEXIST) {
            *error = reason(prefix, errno);
            std::string cleanup;
            if (!removeFolders(*created, &cleanup)) {
                *error += "; " + cleanup;
            }
            created->clear();
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

bool removeFolders(const std::vector<std::string>& created, std::string* error) {
    for (auto f = created.rbegin(); f != created.rend(); ++f) {
        if (rmdir(f->c_str()) != 0) {
            *error = "made folder " + *f + " is left: " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

} // namespace fv
