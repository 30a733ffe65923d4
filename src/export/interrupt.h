// Temporaries removed on an interrupt: a run ended by SIGINT, SIGTERM, SIGHUP (a closed
// terminal) or SIGPIPE removes the temporary files it is writing, so that the earlier
// files stand alone, and then ends by the same signal, so that its status tells that it
// was interrupted (128 + the signal's number in a shell).
#pragma once

#include <csignal>
#include <string>

namespace fv {

// Temporaries under way at once, and the longest path one may have [bytes].
constexpr int maxTemporaries = 16;
constexpr int maxTemporaryPath = 4096;

// Installs the handlers; the first call only counts.
void installInterruptCleanup();

// Notes path as a temporary to remove on an interrupt: its slot, or -1 when it cannot
// be noted (too long, or too many at once), and then the file must not be made.
int noteTemporary(const std::string& path);

// The temporary of slot is gone or has its final name: nothing to remove any more.
void forgetTemporary(int slot);

// The interrupts blocked while files take their final names, so that a set of files is
// renamed whole; what arrives meanwhile is delivered when they are unblocked.
struct BlockedInterrupts {
    sigset_t previous;
};
void blockInterrupts(BlockedInterrupts* blocked);
void unblockInterrupts(const BlockedInterrupts& blocked);

} // namespace fv
