// Files under way, noted for a signal: a file being written under a temporary name (or
// made empty through a link, to be filled) is noted in the state's record while it
// exists, so that a run ended by any signal whose default action ends the process can
// remove it and leave the earlier files alone. The handlers belong to the program's
// entry point; this is what they use.
#pragma once

#include <csignal>
#include <string>

namespace fv {

// Files under way, removed by the signal handlers of the
// program's entry point, which owns the record: a name in an open folder is noted in a
// slot while inUse is set. Plain arrays, as a signal handler may read nothing else; the
// folder's descriptor makes the name's length all that matters, not the folder's path.
constexpr int maxTemporaries = 16;
constexpr int maxTemporaryName = 256; // NAME_MAX and its terminating zero
struct TemporaryFiles {
    int folders[maxTemporaries]; // descriptor of the folder that holds the name
    char names[maxTemporaries][maxTemporaryName];
    volatile std::sig_atomic_t inUse[maxTemporaries];
    unsigned counter; // the next temporary's number in this process
};

// The terminating signals that come from outside the process (a terminal, kill, a
// timer, a pipe): held back while files take their names. The real-time signals, which
// also end a process by default, are added at run time (their numbers are not fixed).
constexpr int outsideSignals[] = {SIGINT,  SIGTERM, SIGHUP,  SIGPIPE,   SIGQUIT,
                                  SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF,
                                  SIGXCPU, SIGXFSZ, SIGIO,   SIGPWR,    SIGSTKFLT};
// The terminating signals of the process's own faults: they cannot be held back (a
// fault while they are blocked ends the process at once), only caught.
constexpr int faultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGSYS, SIGABRT};

// The outside signals and the real-time ones.
sigset_t outsideSignalSet();

// Notes the file name in the open folder as one to remove on a signal: its slot, or -1
// when it cannot be noted (too long, or too many at once), and then the file must not be
// made. The folder stays open while the name is noted.
int noteTemporary(TemporaryFiles* files, int folder, const std::string& name);

// The file of slot is gone or has its final name: nothing to remove any more.
void forgetTemporary(TemporaryFiles* files, int slot);

// Removes every noted file; safe in a signal handler (it only unlinks).
void removeTemporaries(TemporaryFiles* files);

// The outside signals blocked while files take their names, so that a set of files is
// renamed whole; what arrives meanwhile is delivered when they are unblocked.
struct BlockedInterrupts {
    sigset_t previous;
};
void blockInterrupts(BlockedInterrupts* blocked);
void unblockInterrupts(const BlockedInterrupts& blocked);

} // namespace fv
