// The program's signal handlers. A handler is an entry point of its own: it removes the
// files under way noted in the program's record and raises the signal again, which its
// default action then takes (the handler is reset when it runs; a fault's instruction
// faults again on return and ends the process as it would have).
#include "app/signals.h"

#include <csignal>

#include "app/program.h"
#include "export/interrupt.h"

namespace fv {

namespace {

void removeTemporariesAndEnd(int signal) {
    removeTemporaries(&program.temporaries);
    raise(signal); // delivered with the default action once this handler returns
}

// Catches signal where it still has its default action: one the program was started
// ignoring (nohup) stays ignored, and one a tool has taken (a sanitizer's fault
// handler, a profiler's timer) stays the tool's.
void catchIfDefault(int signal, const struct sigaction& action) {
    struct sigaction old = {};
    if (sigaction(signal, nullptr, &old) == 0 && (old.sa_flags & SA_SIGINFO) == 0 &&
        old.sa_handler == SIG_DFL) {
        sigaction(signal, &action, nullptr);
    }
}

} // namespace

void installInterruptCleanup() {
    struct sigaction action = {};
    action.sa_handler = removeTemporariesAndEnd;
    action.sa_mask = outsideSignalSet(); // one handler at a time
    action.sa_flags = SA_RESETHAND;
    for (int s : outsideSignals) {
        catchIfDefault(s, action);
    }
    for (int s = SIGRTMIN; s <= SIGRTMAX; ++s) {
        catchIfDefault(s, action);
    }
    for (int s : faultSignals) {
        catchIfDefault(s, action);
    }
}

} // namespace fv
