// The real program writing into a scratch folder whatever its paths name: a symbolic
// link, a FIFO, a device, a file this user may not write, a file system without hard
// links, a folder shared by concurrent runs, a run interrupted while it writes; and the
// standard streams and CSV numbers around them.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <random>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "export/tables.h"
#include "support/process.h"

namespace {

constexpr double limitSeconds = 120.0;
const std::string pass = "1 0.2 1\n0.5 0.5\n0.2\n0.1 0\n";

// What a writer sends through the FIFO at path within seconds; a reader that never
// blocks, so that a program which replaces the FIFO fails the test instead of hanging it.
std::string readFifo(const std::string& path, double seconds) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    std::string bytes;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long>(seconds * 1e3));
    while (fd >= 0 && std::chrono::steady_clock::now() < deadline) {
        pollfd p = {fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) {
            continue; // no writer yet
        }
        char buffer[65536];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break; // the writer has closed it
        }
    }
    if (fd >= 0) {
        close(fd);
    }
    return bytes;
}

bool isPng(const std::string& bytes) {
    return bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0;
}

struct Scratch {
    std::string path;
    Scratch() {
        char name[] = "/tmp/fv-files-XXXXXX";
        path = mkdtemp(name);
        chmod(path.c_str(), 0777); // another user writes here too
    }
    ~Scratch() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

// The names in a folder that are temporaries of the writer.
int temporaries(const std::string& folder) {
    const std::string command = "ls -A '" + folder + "' | grep -c '^\\.fv-'";
    FILE* p = popen(command.c_str(), "r");
    int count = 0;
    if (p != nullptr && std::fscanf(p, "%d", &count) != 1) {
        count = 0;
    }
    if (p != nullptr) {
        pclose(p);
    }
    return count;
}

// The program through a shell, for redirections, the environment and other users:
// environment assignments, then a wrapper such as setpriv, then the program.
ProcessResult run(const std::vector<std::string>& args, const std::string& input = pass,
                  const std::string& environment = "", const std::string& redirect = "",
                  const std::string& wrapper = "") {
    std::string command = environment + " exec " + wrapper + " '" FRICTIONVIB_PATH "'";
    for (const std::string& a : args) {
        command += " '" + a + "'";
    }
    ChildOptions options;
    options.args = {"-c", command + " " + redirect};
    return runProcess("/bin/bash", input, {"LC_ALL=C.UTF-8"}, limitSeconds, false, options);
}

// Links stay and lead to the new file; devices and FIFOs are written into, not replaced;
// a replaced file keeps its permission bits.
TEST(FilesWritten, LinksDevicesFifosAndModes) {
    Scratch s;
    std::ofstream(s / "real.png") << "old";
    ASSERT_EQ(symlink("real.png", (s / "link.png").c_str()), 0);
    ASSERT_EQ(run({"--png", s / "link.png"}).exitCode, 0);
    struct stat st = {};
    ASSERT_EQ(lstat((s / "link.png").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_TRUE(isPng(readFile(s / "real.png")));

    ASSERT_EQ(mkfifo((s / "pipe.png").c_str(), 0644), 0);
    std::string fromPipe;
    std::thread reader([&] { fromPipe = readFifo(s / "pipe.png", limitSeconds); });
    EXPECT_EQ(run({"--png", s / "pipe.png"}).exitCode, 0);
    reader.join();
    EXPECT_TRUE(isPng(fromPipe));
    ASSERT_EQ(lstat((s / "pipe.png").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    std::ofstream(s / "summary.json") << "old";
    ASSERT_EQ(chmod((s / "summary.json").c_str(), 0604), 0);
    ASSERT_EQ(run({"-o", s.path}).exitCode, 0);
    ASSERT_EQ(stat((s / "summary.json").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0604u);
    EXPECT_EQ(temporaries(s.path), 0);

    if (geteuid() != 0) {
        GTEST_SKIP() << "a device node needs root";
    }
    ASSERT_EQ(mknod((s / "full").c_str(), S_IFCHR | 0666, makedev(1, 7)), 0); // as /dev/full
    const ProcessResult full = run({"--png", s / "full"});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_NE(full.err.find("full: No space left on device"), std::string::npos) << full.err;
    ASSERT_EQ(lstat((s / "full").c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

// A file this user may not write is refused, as cp refuses it, and left as it was.
TEST(FilesWritten, ReadOnlyFileOfAnotherUserIsRefused) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "running as another user needs root";
    }
    Scratch s;
    std::ofstream(s / "summary.json") << "root's";
    ASSERT_EQ(chmod((s / "summary.json").c_str(), 0644), 0);
    const ProcessResult r =
        run({"-o", s.path}, pass, "", "", "setpriv --reuid=65534 --regid=65534 --clear-groups");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("summary.json: Permission denied"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(s / "summary.json"), "root's");
    EXPECT_EQ(temporaries(s.path), 0);
}

// Where link() fails with EPERM, as on FAT, exports into one folder and regime maps
// replace what was there, again and again.
TEST(FilesWritten, FileSystemWithoutHardLinks) {
    Scratch s;
    const std::string preload = std::string("LD_PRELOAD='") + NO_HARD_LINKS_PATH +
                                "' ASAN_OPTIONS=verify_asan_link_order=0";
    for (int round = 0; round < 2; ++round) {
        const ProcessResult e = run({"-o", s.path}, pass, preload);
        EXPECT_EQ(e.exitCode, 0) << e.err;
        const ProcessResult m = run({"--regime-map", s / "map"}, pass, preload);
        EXPECT_EQ(m.exitCode, 0) << m.err;
    }
    EXPECT_TRUE(isPng(readFile(s / "map.png")));
    EXPECT_EQ(lines(readFile(s / "time.csv")).size(), 202u);
    EXPECT_EQ(temporaries(s.path), 0);
}

// Six runs export into one folder at once: every run succeeds, and the folder holds the
// three files of one of them.
TEST(FilesWritten, ConcurrentExportsLeaveOneWholeSet) {
    Scratch s;
    constexpr int runs = 6;
    std::vector<std::thread> threads;
    std::vector<ProcessResult> results(runs);
    for (int k = 0; k < runs; ++k) {
        threads.emplace_back([&, k] {
            const std::string input = "1 0.2 1\n0.5 0.5\n0.2\n" + std::to_string(k) + " 0\n";
            results[static_cast<std::size_t>(k)] = run({"-o", s.path}, input);
        });
    }
    for (std::thread& t : threads) {
        t.join();
    }
    for (const ProcessResult& r : results) {
        EXPECT_EQ(r.exitCode, 0) << r.err;
    }
    const nlohmann::json summary = nlohmann::json::parse(readFile(s / "summary.json"));
    const std::string firstRow = lines(readFile(s / "time.csv"))[1];
    EXPECT_EQ(firstRow.rfind("0," + std::to_string(summary["input"]["y0"].get<int>()) + ",", 0), 0u)
        << firstRow;
    EXPECT_EQ(temporaries(s.path), 0);
}

// Interrupted while it waits to write time.csv into a FIFO, with the other two files
// staged: the temporaries go, the earlier files stand, and the status tells the signal.
TEST(FilesWritten, InterruptedExportLeavesTheEarlierFiles) {
    Scratch s;
    ASSERT_EQ(run({"-o", s.path}).exitCode, 0);
    const std::string earlier = readFile(s / "frequency.csv");
    ASSERT_EQ(unlink((s / "time.csv").c_str()), 0);
    ASSERT_EQ(mkfifo((s / "time.csv").c_str(), 0644), 0);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        Child child;
        ChildOptions options;
        options.args = {"-o", s.path, "-b"};
        ASSERT_TRUE(startChild(child, FRICTIONVIB_PATH, {"LC_ALL=C.UTF-8"}, options));
        sendInput(child, "1 0.3 1\n0.5 0.5\n0.2\n0.1 0\n");
        closeInput(child);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (temporaries(s.path) < 2 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_EQ(temporaries(s.path), 2) << "summary.json and frequency.csv staged";
        kill(child.pid, signal);
        EXPECT_EQ(waitExit(child, 30.0), signalStatusBase + signal);
        EXPECT_EQ(temporaries(s.path), 0) << "signal " << signal;
        EXPECT_EQ(readFile(s / "frequency.csv"), earlier) << "signal " << signal;
    }
}

const std::string asNobody = "setpriv --reuid=nobody --regid=nogroup --clear-groups";

struct stat statOf(const std::string& path) {
    struct stat st = {};
    lstat(path.c_str(), &st);
    return st;
}

// As root onto files a rename would change: another user's file keeps its owner and a
// file with a second hard link keeps it, each written in place; root's own setuid file
// keeps its bit and its own plain file is replaced by a rename (a new inode).
TEST(FilesWritten, RootWritesIntoWhatARenameWouldChange) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "files of another user need root";
    }
    Scratch s;
    std::ofstream(s / "owned.png") << "nobody's old content, longer than nothing";
    ASSERT_EQ(chown((s / "owned.png").c_str(), 65534, 65534), 0);
    std::ofstream(s / "linked.png") << "old";
    ASSERT_EQ(link((s / "linked.png").c_str(), (s / "other-name").c_str()), 0);
    std::ofstream(s / "setuid.png") << "old";
    ASSERT_EQ(chmod((s / "setuid.png").c_str(), 04755), 0);
    std::ofstream(s / "plain.png") << "old";
    const ino_t plainBefore = statOf(s / "plain.png").st_ino;
    for (const char* name : {"owned.png", "linked.png", "setuid.png", "plain.png"}) {
        const ino_t before = statOf(s / name).st_ino;
        const ProcessResult r = run({"--png", s / name});
        EXPECT_EQ(r.exitCode, 0) << name << ": " << r.err;
        EXPECT_TRUE(isPng(readFile(s / name))) << name;
        if (std::string(name) == "owned.png" || std::string(name) == "linked.png") {
            EXPECT_EQ(statOf(s / name).st_ino, before) << name << " written in place";
        }
    }
    EXPECT_EQ(statOf(s / "owned.png").st_uid, 65534u);
    EXPECT_EQ(readFile(s / "other-name"), readFile(s / "linked.png"));
    EXPECT_EQ(statOf(s / "setuid.png").st_mode & 07777, 04755u);
    EXPECT_NE(statOf(s / "plain.png").st_ino, plainBefore) << "replaced by a rename";
    // Its owner may still append to the file, as before.
    EXPECT_EQ(
        std::system(("setpriv --reuid=nobody --regid=nogroup --clear-groups sh -c 'echo x >> " +
                     s / "owned.png" + "'")
                        .c_str()),
        0);
    EXPECT_EQ(temporaries(s.path), 0);
}

// In a sticky folder another user's writable file is written into, as cp writes it, time
// after time, and no temporary (nor a hard link to that file) stays behind.
TEST(FilesWritten, StickyFolderFileOfAnotherUser) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "running as another user needs root";
    }
    Scratch s;
    ASSERT_EQ(chmod(s.path.c_str(), 01777), 0);
    std::ofstream(s / "rf.png") << "root's";
    ASSERT_EQ(chmod((s / "rf.png").c_str(), 0666), 0);
    for (int round = 0; round < 2; ++round) {
        const ProcessResult r = run({"--png", s / "rf.png"}, pass, "", "", asNobody);
        EXPECT_EQ(r.exitCode, 0) << r.err;
    }
    EXPECT_TRUE(isPng(readFile(s / "rf.png")));
    EXPECT_EQ(statOf(s / "rf.png").st_uid, 0u);
    EXPECT_EQ(statOf(s / "rf.png").st_nlink, 1u);
    EXPECT_EQ(temporaries(s.path), 0);
}

// The kernel follows the links: a dangling link makes the file it names and stays, a
// loop is refused with nothing made; where the system protects links in sticky folders,
// another user's link there is refused as the kernel refuses it.
TEST(FilesWritten, LinksAreFollowedByTheKernel) {
    Scratch s;
    ASSERT_EQ(symlink("made.png", (s / "dangling.png").c_str()), 0);
    EXPECT_EQ(run({"--png", s / "dangling.png"}).exitCode, 0);
    EXPECT_TRUE(S_ISLNK(statOf(s / "dangling.png").st_mode));
    EXPECT_TRUE(isPng(readFile(s / "made.png")));
    ASSERT_EQ(symlink("loop.png", (s / "loop.png").c_str()), 0);
    const ProcessResult loop = run({"--png", s / "loop.png"});
    EXPECT_EQ(loop.exitCode, 1);
    EXPECT_NE(loop.err.find("Too many levels of symbolic links"), std::string::npos) << loop.err;
    EXPECT_EQ(temporaries(s.path), 0);
    if (geteuid() != 0 || readFile("/proc/sys/fs/protected_symlinks") != "1\n") {
        GTEST_SKIP() << "link protection needs root and fs.protected_symlinks = 1";
    }
    ASSERT_EQ(chmod(s.path.c_str(), 01777), 0);
    std::ofstream(s / "target.png") << "root's";
    ASSERT_EQ(chmod((s / "target.png").c_str(), 0666), 0);
    ASSERT_EQ(symlink("target.png", (s / "root-link.png").c_str()), 0);
    const ProcessResult r = run({"--png", s / "root-link.png"}, pass, "", "", asNobody);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Permission denied"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(s / "target.png"), "root's");
}

// Names up to the file system's 255 bytes, and an export folder of 4,080 characters,
// are written; an export that fails removes the folders it made.
TEST(FilesWritten, LongNamesAndFoldersAnExportMade) {
    Scratch s;
    const std::string longName = std::string(251, 'n') + ".png";
    EXPECT_EQ(run({"--png", s / longName}).exitCode, 0);
    EXPECT_TRUE(isPng(readFile(s / longName)));
    std::string deep = s.path;
    while (deep.size() < 4080) {
        deep += "/" + std::string(std::min<std::size_t>(200, 4080 - deep.size() - 1), 'd');
    }
    ASSERT_EQ(deep.size(), 4080u);
    const ProcessResult d = run({"-o", deep});
    EXPECT_EQ(d.exitCode, 0) << d.err;
    EXPECT_EQ(readFile(deep + "/time.csv").empty(), false);
    // A file size limit (with its signal ignored) fails time.csv after the folders exist.
    const ProcessResult f = run({"-o", s / "new/deeper"}, pass, "trap '' XFSZ; ulimit -f 8;");
    EXPECT_EQ(f.exitCode, 1);
    EXPECT_NE(f.err.find("File too large"), std::string::npos) << f.err;
    EXPECT_NE(access((s / "new").c_str(), F_OK), 0) << "the folders made are gone";
    EXPECT_EQ(temporaries(s.path), 0);
}

// Runs of another user into a folder it may write but not read (0333) take their names
// one set after another, under a lock file that goes with the last of them.
TEST(FilesWritten, ConcurrentExportsIntoAFolderThatCannotBeRead) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "running as another user needs root";
    }
    Scratch s;
    ASSERT_EQ(chmod(s.path.c_str(), 0755), 0);
    const std::string folder = s / "unreadable";
    ASSERT_EQ(mkdir(folder.c_str(), 0333), 0);
    ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
    constexpr int runs = 12;
    std::vector<std::thread> threads;
    std::vector<ProcessResult> results(runs);
    for (int k = 0; k < runs; ++k) {
        threads.emplace_back([&, k] {
            results[static_cast<std::size_t>(k)] = run({"-o", folder}, pass, "", "", asNobody);
        });
    }
    for (std::thread& t : threads) {
        t.join();
    }
    for (const ProcessResult& r : results) {
        EXPECT_EQ(r.exitCode, 0) << r.err;
    }
    EXPECT_EQ(lines(readFile(folder + "/time.csv")).size(), 202u);
    EXPECT_EQ(temporaries(folder), 0) << "no temporary, no lock file";
}

// Signals other than the usual interrupts, the real-time ones among them, also remove
// the temporaries of a run they end.
TEST(FilesWritten, EveryTerminatingSignalRemovesTheTemporaries) {
    Scratch s;
    ASSERT_EQ(mkfifo((s / "time.csv").c_str(), 0644), 0);
    for (int signal : {SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGXCPU, SIGRTMIN + 2}) {
        Child child;
        ChildOptions options;
        options.args = {"-o", s.path};
        ASSERT_TRUE(startChild(child, FRICTIONVIB_PATH, {"LC_ALL=C.UTF-8"}, options));
        sendInput(child, pass);
        closeInput(child);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (temporaries(s.path) < 2 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_EQ(temporaries(s.path), 2) << "signal " << signal;
        kill(child.pid, signal);
        EXPECT_EQ(waitExit(child, 30.0), signalStatusBase + signal);
        EXPECT_EQ(temporaries(s.path), 0) << "signal " << signal;
    }
}

// A small file system of its own, mounted for a test and gone after it: a tmpfs, or an
// ext2 disk image on a loop device, which has no fallocate.
struct SmallDisk {
    Scratch s;
    std::string path = s / "disk";
    bool mounted = false;
    SmallDisk(const std::string& type, int kib) {
        mkdir(path.c_str(), 0755);
        const std::string size = std::to_string(kib) + "k";
        const std::string command =
            type == "tmpfs"
                ? "mount -t tmpfs -o size=" + size + " tmpfs '" + path + "'"
                : "truncate -s " + size + " '" + s / "image" + "' && mkfs.ext2 -q -F '" +
                      s / "image" + "' && mount -o loop '" + s / "image" + "' '" + path + "'";
        mounted = geteuid() == 0 && std::system((command + " 2>/dev/null").c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted) {
            std::system(("umount '" + path + "'").c_str());
        }
    }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
    // Fills the disk up to kib KiB of free room.
    void fillTo(int kib) const {
        struct statvfs v = {};
        statvfs(path.c_str(), &v);
        const long long freeKib = static_cast<long long>(v.f_bavail * v.f_frsize / 1024);
        std::system(("dd if=/dev/zero of='" + *this / "fill" +
                     "' bs=1k status=none count=" + std::to_string(freeKib - kib))
                        .c_str());
    }
    unsigned long long freeBlocks() const {
        struct statvfs v = {};
        statvfs(path.c_str(), &v);
        return v.f_bfree;
    }
};

const char* const setFiles[] = {"summary.json", "frequency.csv", "time.csv"};

std::string setBytes(const std::string& folder) {
    std::string all;
    for (const char* name : setFiles) {
        all += readFile(folder + "/" + name) + '\0';
    }
    return all;
}

// Hard links of the set's files in another folder: the set is then written into.
void linkSet(const std::string& from, const std::string& to) {
    mkdir(to.c_str(), 0777);
    for (const char* name : setFiles) {
        link((from + "/" + name).c_str(), (to + "/" + name).c_str());
    }
}

// Whether the folder holds one run's whole set: each file complete, all of one input.
bool wholeSet(const std::string& folder, double seconds) {
    const std::vector<std::string> time = lines(readFile(folder + "/time.csv"));
    const std::string summary = readFile(folder + "/summary.json");
    if (time.size() != static_cast<std::size_t>(seconds * 10) + 2 || summary.empty() ||
        lines(readFile(folder + "/frequency.csv")).size() < 2) {
        return false;
    }
    const nlohmann::json j = nlohmann::json::parse(summary, nullptr, false);
    return !j.is_discarded() &&
           time[1].rfind("0," + std::to_string(j["input"]["y0"].get<int>()) + ",", 0) == 0;
}

// What tells that a run has started to write into folder: the names in it and the
// change times of the set's files.
std::string changeMarks(const std::string& folder) {
    std::string marks;
    DIR* dir = opendir(folder.c_str());
    while (const dirent* entry = dir != nullptr ? readdir(dir) : nullptr) {
        marks += std::string(entry->d_name) + '/';
    }
    if (dir != nullptr) {
        closedir(dir);
    }
    for (const char* name : setFiles) {
        const struct stat st = statOf(folder + "/" + name);
        marks += std::to_string(st.st_ctim.tv_nsec) + '/';
    }
    return marks;
}

std::string passWithY0(int y0) {
    return "1 0.2 1\n0.5 0.5\n0.2\n" + std::to_string(y0) + " 0\n";
}

// A full disk: where no copy of the old content fits and fallocate is missing (ext2),
// the set is refused whole; where room is reserved (tmpfs, as another user), what a
// failed export reserved is given back, and the set stands as it was.
TEST(FilesWritten, FullDiskLeavesTheSetWhole) {
    SmallDisk ext2("ext2", 3072);
    if (!ext2.mounted) {
        GTEST_SKIP() << "mounting a loop device needs root, losetup and mkfs.ext2";
    }
    ASSERT_EQ(run({"-o", ext2 / "e", "--duration", "100"}).exitCode, 0);
    linkSet(ext2 / "e", ext2 / "links");
    ext2.fillTo(150);
    const std::string before = setBytes(ext2 / "e");
    const ProcessResult r = run({"-o", ext2 / "e", "--duration", "600"}, passWithY0(3));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("cannot keep its old content to undo the writing: No space left"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(setBytes(ext2 / "e"), before);
    EXPECT_EQ(temporaries(ext2 / "e"), 0);

    SmallDisk tmpfs("tmpfs", 700);
    ASSERT_TRUE(tmpfs.mounted);
    ASSERT_EQ(chown(tmpfs.path.c_str(), 65534, 65534), 0);
    ASSERT_EQ(run({"-o", tmpfs / "e", "--duration", "10"}, pass, "", "", asNobody).exitCode, 0);
    linkSet(tmpfs / "e", tmpfs / "links");
    const std::string small = setBytes(tmpfs / "e");
    const unsigned long long freeBefore = tmpfs.freeBlocks();
    const ProcessResult t =
        run({"-o", tmpfs / "e", "--duration", "3000"}, passWithY0(3), "", "", asNobody);
    EXPECT_EQ(t.exitCode, 1);
    EXPECT_NE(t.err.find("No space left on device"), std::string::npos) << t.err;
    EXPECT_EQ(setBytes(tmpfs / "e"), small);
    EXPECT_EQ(tmpfs.freeBlocks(), freeBefore) << "the reserved room is given back";
}

// Runs killed at random moments while they write, into hard links (written into) and
// into plain files (renamed): once the next run has written into the folder, the set is
// one run's, whole, and nothing of the killed runs is left.
TEST(FilesWritten, KilledRunsLeaveOneWholeSet) {
    Scratch s;
    constexpr double seconds = 1000;
    const std::string duration = "1000";
    ASSERT_EQ(run({"-o", s.path, "--duration", duration}, passWithY0(0)).exitCode, 0);
    std::mt19937 random(std::random_device{}());
    for (int trial = 0; trial < 20; ++trial) {
        std::system(("rm -rf '" + s / "links" + "'").c_str());
        if (trial % 2 == 0) {
            linkSet(s.path, s / "links");
        }
        Child child;
        ChildOptions options;
        options.args = {"-o", s.path, "--duration", duration};
        ASSERT_TRUE(startChild(child, FRICTIONVIB_PATH, {"LC_ALL=C.UTF-8"}, options));
        sendInput(child, passWithY0(trial + 1));
        closeInput(child);
        // From the first change in the folder (a temporary, a copy, a file written into)
        // to a random moment within the next few milliseconds.
        siginfo_t ended = {};
        const std::string before = changeMarks(s.path);
        while (changeMarks(s.path) == before &&
               waitid(P_PID, static_cast<id_t>(child.pid), &ended, WEXITED | WNOHANG | WNOWAIT) ==
                   0 &&
               ended.si_pid == 0) {
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 15000));
        kill(child.pid, SIGKILL);
        waitExit(child, limitSeconds);
        EXPECT_EQ(run({"--png", s / "next.png"}).exitCode, 0);
        EXPECT_TRUE(wholeSet(s.path, seconds)) << "trial " << trial;
        EXPECT_EQ(temporaries(s.path), 0) << "trial " << trial;
    }
}

// Two runs at once, into two folders whose files are hard links of each other: the files
// are locked themselves, and the set is one run's, whole.
TEST(FilesWritten, ConcurrentRunsThroughHardLinks) {
    Scratch s;
    constexpr double seconds = 3000;
    for (int trial = 0; trial < 4; ++trial) {
        std::system(("rm -rf '" + s / "A" + "' '" + s / "B" + "'").c_str());
        ASSERT_EQ(run({"-o", s / "A", "--duration", "3000"}, passWithY0(0)).exitCode, 0);
        linkSet(s / "A", s / "B");
        std::thread other([&] {
            EXPECT_EQ(run({"-o", s / "B", "--duration", "3000"}, passWithY0(2)).exitCode, 0);
        });
        EXPECT_EQ(run({"-o", s / "A", "--duration", "3000"}, passWithY0(3)).exitCode, 0);
        other.join();
        EXPECT_TRUE(wholeSet(s / "A", seconds)) << "trial " << trial;
        EXPECT_EQ(setBytes(s / "A"), setBytes(s / "B"));
    }
}

// A user's own setuid and setgid files, replaced by a rename, keep their bits: they are
// set after the content, whose writing clears them for a user without CAP_FSETID.
TEST(FilesWritten, OwnSetuidFileKeepsItsBits) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "running as an unprivileged user needs root";
    }
    Scratch s;
    for (mode_t mode : {04755, 02755, 06755}) {
        const std::string png = s / ("own-" + std::to_string(mode) + ".png");
        std::ofstream(png) << "old";
        ASSERT_EQ(chown(png.c_str(), 65534, 65534), 0);
        ASSERT_EQ(chmod(png.c_str(), mode), 0);
        const ino_t before = statOf(png).st_ino;
        const ProcessResult r = run({"--png", png}, pass, "", "", asNobody);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_TRUE(isPng(readFile(png)));
        EXPECT_EQ(statOf(png).st_mode & 07777, mode);
        EXPECT_NE(statOf(png).st_ino, before) << "replaced by a rename";
    }
}

// Messages are one line whatever bytes the user's values hold, and a regime map prefix
// that names a folder is refused before the dialogue.
TEST(CommandLine, MessagesAreOneLineAndPrefixesNoFolders) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--png", "x.png", "--keys", "s\n"}, "--keys: '\\n' is not a view key"},
        {{"--png", "x.png", "--keys", "\x1bs"}, "--keys: '\\x1b' is not a view key"},
        {{"--png", "x.png", "--keys", "s\xc3\xa4"}, "--keys: '\xc3\xa4' is not a view key"},
        {{"--png", "x.png", "--keys", "s\xc3"}, "--keys: '\\xc3' is not a view key"},
        {{"--regime-map", "."}, "--regime-map: '.' is a folder"},
        {{"--regime-map", "maps/.."}, "--regime-map: 'maps/..' is a folder"},
        {{"--regime-map", "/tmp"}, "--regime-map: '/tmp' is a folder"}};
    for (const auto& [args, message] : cases) {
        const ProcessResult r = run(args);
        EXPECT_EQ(r.exitCode, 2) << message;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
    Scratch s;
    const ProcessResult r = run({"--png", s / "no\nsuch/x.png"});
    EXPECT_EQ(r.exitCode, 1);
    const std::string expected =
        "frictionvib: cannot write " + s.path + "/no\\nsuch/x.png: No such file or directory\n";
    EXPECT_EQ(r.err.rfind(expected, 0), 0u) << r.err; // a sanitizer may add its summary
}

// Unicode's format characters and separators would reorder, hide or break a message:
// they are escaped byte by byte, as control bytes are.
TEST(CommandLine, FormatCharactersAndSeparatorsAreEscaped) {
    const std::pair<const char*, const char*> cases[] = {
        {"\u2028", "\\xe2\\x80\\xa8"}, {"\u2029", "\\xe2\\x80\\xa9"}, {"\u202e", "\\xe2\\x80\\xae"},
        {"\u200b", "\\xe2\\x80\\x8b"}, {"\ufeff", "\\xef\\xbb\\xbf"}, {"\u061c", "\\xd8\\x9c"}};
    for (const auto& [character, shown] : cases) {
        const ProcessResult r = run({"--png", "x.png", "--keys", std::string("s") + character});
        EXPECT_EQ(r.exitCode, 2) << shown;
        EXPECT_NE(r.err.find(std::string("--keys: '") + shown + "' is not a view key"),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(r.err.find(character), std::string::npos) << shown;
    }
}

// Standard output that cannot be written and standard input that cannot be read end
// with status 1 and one line; the input is refused before anything is written.
TEST(StandardStreams, FullOutputAndFolderAsInput) {
    for (const char* flag : {"--batch", "--help"}) {
        const ProcessResult r = run({flag}, pass, "", "> /dev/full");
        EXPECT_EQ(r.exitCode, 1) << flag;
        EXPECT_EQ(r.err, "frictionvib: cannot write standard output: No space left on device\n");
    }
    Scratch s;
    const ProcessResult r = run({"-o", s.path}, "", "", "< /");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "frictionvib: cannot read standard input: Is a directory\n");
    EXPECT_EQ(readFile(s / "summary.json"), "");
}

TEST(CommandLine, OptionsThatCannotStandAlone) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--batch=1"}, "option '--batch' takes no value"},
        {{"--help=x"}, "option '--help' takes no value"},
        {{"--duration", "5"}, "option '--duration' needs --export"},
        {{"--frames", "3", "-b"}, "option '--frames' needs --png, --svg or --regime-map"},
        {{"--regime-map", "maps/"}, "--regime-map: 'maps/' is a folder"},
        {{"--keys", "s"}, "option '--keys' needs --png, --svg or --regime-map"},
        {{"--png", "/tmp/fv-never.png", "--keys", "sgm"}, "--keys: 'm' is not a view key"},
        {{"--png", "/tmp/fv-never.png", "--keys", "p"}, "--keys: 'p' is not a view key"},
        {{"--view", "pretty"}, "--view: 'pretty' is not a view (classic, clear)"},
        {{"--svg", ""}, "--svg: the file name is empty"}};
    for (const auto& [args, message] : cases) {
        const ProcessResult r = run(args);
        EXPECT_EQ(r.exitCode, 2) << message;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
}

// t_s is the frame's tenth of a second, every number is as short as reads back, and a
// number that is not finite is an empty cell (a start at 1e308 m/s against a stiff damper
// overflows the motion).
TEST(CsvNumbers, ShortestFormsAndEmptyCells) {
    Scratch s;
    ASSERT_EQ(run({"-o", s.path, "--duration", "60"}).exitCode, 0);
    const std::vector<std::string> time = lines(readFile(s / "time.csv"));
    ASSERT_EQ(time.size(), 602u);
    EXPECT_EQ(time[1].rfind("0,0.1,0,0,", 0), 0u) << time[1];
    EXPECT_EQ(time[2].rfind("0.1,", 0), 0u) << time[2];
    EXPECT_EQ(time[601].rfind("60,", 0), 0u) << time[601];
    ASSERT_EQ(run({"-o", s / "nonfinite"}, "1 100 1\n0.5 0.5\n0.2\n0 1e308\n").exitCode, 0);
    for (const char* name : {"time.csv", "frequency.csv"}) {
        const std::string text = readFile(s / "nonfinite" + "/" + name);
        EXPECT_EQ(text.find("nan"), std::string::npos) << name;
        EXPECT_EQ(text.find("inf"), std::string::npos) << name;
    }
    EXPECT_NE(readFile(s / "nonfinite/time.csv").find(",,"), std::string::npos);
}

// The browser writes its numbers with printf; they must be the desktop's, character for
// character, over every kind of double: random bits, the chart's ratios, short decimals.
TEST(CsvNumbers, PrintfFormsEqualTheShortestForms) {
    std::mt19937_64 random(20261209);
    std::vector<double> values = {0.0,
                                  -0.0,
                                  60.0,
                                  1e-7,
                                  1e22,
                                  5e-324,
                                  1.7976931348623157e308,
                                  0.1,
                                  123456789012345680.0,
                                  9.5367431640625e-07};
    for (int i = 0; i < 200000; ++i) {
        std::uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        values.push_back(value);
        values.push_back(static_cast<double>(random() % 100000) / std::pow(10.0, random() % 12));
        values.push_back(
            std::ldexp(static_cast<double>(random() % 4096), -static_cast<int>(random() % 40)));
    }
    int mismatches = 0;
    for (double value : values) {
        if (std::isfinite(value) && fv::formatNumberByPrintf(value) != fv::formatNumber(value)) {
            ADD_FAILURE() << fv::formatNumberByPrintf(value) << " != " << fv::formatNumber(value);
            if (++mismatches == 5) {
                break;
            }
        }
    }
}

} // namespace
