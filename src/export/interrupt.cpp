// Temporaries noted for an interrupt. The record is plain arrays with a flag per slot,
// as a signal handler may only read such things; a slot is filled with the interrupts
// held back, so that a handler never sees a half-written path.
#include "export/interrupt.h"

#include <cstring>
#include <unistd.h>

namespace fv {

namespace {

sigset_t interruptSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : interruptSignals) {
        sigaddset(&set, s);
    }
    return set;
}

} // namespace

int noteTemporary(TemporaryFiles* files, const std::string& path) {
    if (path.size() >= static_cast<std::size_t>(maxTemporaryPath)) {
        return -1;
    }
    BlockedInterrupts blocked;
    blockInterrupts(&blocked);
    int slot = -1;
    for (int k = 0; k < maxTemporaries && slot < 0; ++k) {
        if (files->inUse[k] == 0) {
            std::memcpy(files->paths[k], path.c_str(), path.size() + 1);
            files->inUse[k] = 1;
            slot = k;
        }
    }
    unblockInterrupts(blocked);
    return slot;
}

void forgetTemporary(TemporaryFiles* files, int slot) {
    if (slot >= 0 && slot < maxTemporaries) {
        files->inUse[slot] = 0;
    }
}

void removeTemporaries(TemporaryFiles* files) {
    for (int k = 0; k < maxTemporaries; ++k) {
        if (files->inUse[k] != 0) {
            unlink(files->paths[k]);
        }
    }
}

void blockInterrupts(BlockedInterrupts* blocked) {
    const sigset_t set = interruptSet();
    pthread_sigmask(SIG_BLOCK, &set, &blocked->previous);
}

void unblockInterrupts(const BlockedInterrupts& blocked) {
    pthread_sigmask(SIG_SETMASK, &blocked.previous, nullptr);
}

} // namespace fv
