// Temporaries removed on an interrupt. The handler may only call what is safe in a
// signal handler: it unlinks the noted paths, kept in fixed buffers, and raises the
// signal again with its default action (the handler is reset when it runs).
#include "export/interrupt.h"

#include <atomic>
#include <cstring>
#include <unistd.h>

namespace fv {

namespace {

constexpr int interrupts[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// The noted paths; a slot is in use while its flag is set.
char temporaryPaths[maxTemporaries][maxTemporaryPath];
volatile std::sig_atomic_t temporaryInUse[maxTemporaries];
std::atomic<bool> installed{false};

void removeTemporariesAndEnd(int signal) {
    for (int k = 0; k < maxTemporaries; ++k) {
        if (temporaryInUse[k] != 0) {
            unlink(temporaryPaths[k]);
        }
    }
    raise(signal); // delivered with the default action once this handler returns
}

sigset_t interruptSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : interrupts) {
        sigaddset(&set, s);
    }
    return set;
}

} // namespace

void installInterruptCleanup() {
    if (installed.exchange(true)) {
        return;
    }
    struct sigaction action = {};
    action.sa_handler = removeTemporariesAndEnd;
    action.sa_mask = interruptSet(); // one handler at a time
    action.sa_flags = SA_RESETHAND;
    for (int s : interrupts) {
        struct sigaction old = {};
        // A signal the program was started ignoring (nohup) stays ignored.
        if (sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) {
            continue;
        }
        sigaction(s, &action, nullptr);
    }
}

int noteTemporary(const std::string& path) {
    if (path.size() >= static_cast<std::size_t>(maxTemporaryPath)) {
        return -1;
    }
    BlockedInterrupts blocked;
    blockInterrupts(&blocked);
    int slot = -1;
    for (int k = 0; k < maxTemporaries && slot < 0; ++k) {
        if (temporaryInUse[k] == 0) {
            std::memcpy(temporaryPaths[k], path.c_str(), path.size() + 1);
            temporaryInUse[k] = 1;
            slot = k;
        }
    }
    unblockInterrupts(blocked);
    return slot;
}

void forgetTemporary(int slot) {
    if (slot >= 0 && slot < maxTemporaries) {
        temporaryInUse[slot] = 0;
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
