// Files under way, noted for a signal. The record is plain arrays with a flag per slot,
// as a signal handler may only read such things; a slot is filled with the outside
// signals held back, so that a handler never sees a half-written name.
#include "export/interrupt.h"

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace fv {

sigset_t outsideSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : outsideSignals) {
        sigaddset(&set, s);
    }
    for (int s = SIGRTMIN; s <= SIGRTMAX; ++s) {
        sigaddset(&set, s);
    }
    return set;
}

int noteTemporary(TemporaryFiles* files, int folder, const std::string& name) {
    if (name.size() >= static_cast<std::size_t>(maxTemporaryName)) {
        return -1;
    }
    BlockedInterrupts blocked;
    blockInterrupts(&blocked);
    int slot = -1;
    for (int k = 0; k < maxTemporaries && slot < 0; ++k) {
        if (files->inUse[k] == 0) {
            files->folders[k] = folder;
            std::memcpy(files->names[k], name.c_str(), name.size() + 1);
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
            unlinkat(files->folders[k], files->names[k], 0);
        }
    }
}

void blockInterrupts(BlockedInterrupts* blocked) {
    const sigset_t set = outsideSignalSet();
    pthread_sigmask(SIG_BLOCK, &set, &blocked->previous);
}

void unblockInterrupts(const BlockedInterrupts& blocked) {
    pthread_sigmask(SIG_SETMASK, &blocked.previous, nullptr);
}

} // namespace fv
