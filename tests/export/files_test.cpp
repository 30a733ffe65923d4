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
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <random>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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
        {{"--frames", "3", "-b"}, "option '--frames' needs --png or --regime-map"},
        {{"--regime-map", "maps/"}, "--regime-map: 'maps/' is a folder"},
        {{"--keys", "s"}, "option '--keys' needs --png or --regime-map"},
        {{"--png", "/tmp/fv-never.png", "--keys", "sgm"}, "--keys: 'm' is not a view key"},
        {{"--png", "/tmp/fv-never.png", "--keys", "p"}, "--keys: 'p' is not a view key"}};
    for (const auto& [args, message] : cases) {
        const ProcessResult r = run(args);
        EXPECT_EQ(r.exitCode, 2) << message;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
}

// t_s is the frame's tenth of a second, every number is as short as reads back, and a
// number that is not finite is an empty cell (m = 0 makes them).
TEST(CsvNumbers, ShortestFormsAndEmptyCells) {
    Scratch s;
    ASSERT_EQ(run({"-o", s.path, "--duration", "60"}).exitCode, 0);
    const std::vector<std::string> time = lines(readFile(s / "time.csv"));
    ASSERT_EQ(time.size(), 602u);
    EXPECT_EQ(time[1].rfind("0,0.1,0,0,", 0), 0u) << time[1];
    EXPECT_EQ(time[2].rfind("0.1,", 0), 0u) << time[2];
    EXPECT_EQ(time[601].rfind("60,", 0), 0u) << time[601];
    ASSERT_EQ(run({"-o", s / "nonfinite"}, "0 0.2 1\n0.5 0.5\n0.2\n0.1 0\n").exitCode, 0);
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
