// Standard streams. Were descriptor 1 closed, the X connection opened after the first
// dialogue would take it and the next dialogue would write its texts into the X
// protocol stream; were 0 closed, the dialogue would read X events. A /dev/null in
// each closed slot, opened before anything else, keeps them apart. A failed write to
// standard output loses its buffer and its reason with it, so the first reason is kept
// for the end.
#include "control/streams.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fv {

namespace {

constexpr int standardStreams = 3; // 0, 1 and 2
constexpr int outputFailureStatus = 1;

int firstOutputError = 0; // errno of the first failed flush of standard output

// True, after one line on standard error, when standard output could not be written.
bool outputFailed() {
    errno = 0;
    const bool failed = std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    if (firstOutputError == 0) {
        firstOutputError = errno;
    }
    if (!failed && firstOutputError == 0) {
        return false;
    }
    if (firstOutputError != 0) {
        std::fprintf(stderr, "frictionvib: cannot write standard output: %s\n",
                     std::strerror(firstOutputError));
    } else {
        std::fputs("frictionvib: cannot write standard output\n", stderr);
    }
    return true;
}

void reportFailedOutput() {
    if (outputFailed()) {
        _exit(outputFailureStatus);
    }
}

} // namespace

void openClosedStandardStreams() {
    for (int fd = 0; fd < standardStreams; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // open() takes the lowest free descriptor: this one, as the lower ones are open.
        const int opened = open("/dev/null", O_RDWR);
        if (opened != fd && opened >= 0) {
            dup2(opened, fd);
            close(opened);
        }
    }
}

bool standardInputReadable(int* code) {
    struct stat st = {};
    if (fstat(STDIN_FILENO, &st) == 0 && S_ISDIR(st.st_mode)) {
        *code = EISDIR;
        return false;
    }
    const int flags = fcntl(STDIN_FILENO, F_GETFL);
    if (flags != -1 && (flags & O_ACCMODE) == O_WRONLY) {
        *code = EBADF;
        return false;
    }
    return true;
}

void flushStandardOutput() {
    errno = 0;
    if (std::fflush(stdout) != 0 && firstOutputError == 0) {
        firstOutputError = errno != 0 ? errno : EIO;
    }
}

void checkStandardOutputAtExit() {
    std::atexit(reportFailedOutput);
}

void endProgram(int status, bool threadsEnded) {
    if (threadsEnded) {
        std::exit(status);
    }
    // A worker still runs: no destructor may run under it, so the process ends at once,
    // after what exit would have checked.
    _exit(outputFailed() ? outputFailureStatus : status);
}

} // namespace fv
