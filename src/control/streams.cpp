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

// True, after one line on standard error, when standard output could not be written.
bool outputFailed(ConsoleState* console) {
    errno = 0;
    const bool failed = std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    if (console->outputError == 0) {
        console->outputError = errno;
    }
    if (!failed && console->outputError == 0) {
        return false;
    }
    if (console->outputError != 0) {
        std::fprintf(stderr, "frictionvib: cannot write standard output: %s\n",
                     std::strerror(console->outputError));
    } else {
        std::fputs("frictionvib: cannot write standard output\n", stderr);
    }
    return true;
}

// At exit, an entry point of its own: the program's state is the one it checks.
void reportFailedOutput() {
    if (outputFailed(&state.console)) {
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

void checkStandardOutputAtExit() {
    std::atexit(reportFailedOutput);
}

void endProgram(ConsoleState* console, int status, bool threadsEnded) {
    if (threadsEnded) {
        std::exit(status);
    }
    // A worker still runs: no destructor may run under it, so the process ends at once,
    // after what exit would have checked.
    _exit(outputFailed(console) ? outputFailureStatus : status);
}

} // namespace fv
