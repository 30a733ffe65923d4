// Temporaries noted for an interrupt: a file being written under a temporary name is
// noted in the state's record while it exists, so that a run ended by SIGINT, SIGTERM,
// SIGHUP (a closed terminal) or SIGPIPE can remove it and leave the earlier files
// alone. The handlers belong to the program's entry point; this is what they use.
#pragma once

#include <csignal>
#include <string>

#include "state/state.h"

namespace fv {

// The signals that end a run and remove its temporaries first.
constexpr int interruptSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// Notes path as a temporary to remove on an interrupt: its slot, or -1 when it cannot
// be noted (too long, or too many at once), and then the file must not be made.
int noteTemporary(TemporaryFiles* files, const std::string& path);

// The temporary of slot is gone or has its final name: nothing to remove any more.
void forgetTemporary(TemporaryFiles* files, int slot);

// Removes every noted temporary; safe in a signal handler (it only unlinks).
void removeTemporaries(TemporaryFiles* files);

// The interrupts blocked while files take their final names, so that a set of files is
// renamed whole; what arrives meanwhile is delivered when they are unblocked.
struct BlockedInterrupts {
    sigset_t previous;
};
void blockInterrupts(BlockedInterrupts* blocked);
void unblockInterrupts(const BlockedInterrupts& blocked);

} // namespace fv
