// Standard streams. Were descriptor 1 closed, the X connection opened after the first
// dialogue would take it and the next dialogue would write its texts into the X
// protocol stream; were 0 closed, the dialogue would read X events. A /dev/null in
// each closed slot, opened before anything else, keeps them apart. A failed write to
// standard output loses its buffer and its reason with it, so the first reason is kept
// for the end.
#include "app/streams.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/program.h"
#include "export/report.h"

namespace fv {

namespace {

constexpr int standardStreams = 3; // 0, 1 and 2
// At exit, an entry point of its own: the program's state is the one it checks.
void reportFailedOutput() {
    if (reportOutputFailure(&program.state.console)) {
        _exit(failureStatus);
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

} // namespace fv
