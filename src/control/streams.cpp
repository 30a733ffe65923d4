// Standard streams. Were descriptor 1 closed, the X connection opened after the first
// dialogue would take it and the next dialogue would write its texts into the X
// protocol stream; were 0 closed, the dialogue would read X events. A /dev/null in
// each closed slot, opened before anything else, keeps them apart.
#include "control/streams.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace fv {

namespace {

constexpr int standardStreams = 3; // 0, 1 and 2

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

} // namespace fv
