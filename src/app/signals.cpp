// The program's signal handlers. A handler is an entry point of its own: it removes the
// temporaries noted in the program's state and raises the signal again, which its
// default action then takes (the handler is reset when it runs).
#include "app/signals.h"

#include <csignal>

#include "app/program.h"
#include "export/interrupt.h"

namespace fv {

namespace {

void removeTemporariesAndEnd(int signal) {
    removeTemporaries(&state.files);
    raise(signal); // delivered with the default action once this handler returns
}

} // namespace

void installInterruptCleanup() {
    struct sigaction action = {};
    action.sa_handler = removeTemporariesAndEnd;
    sigemptyset(&action.sa_mask);
    for (int s : interruptSignals) {
        sigaddset(&action.sa_mask, s); // one handler at a time
    }
    action.sa_flags = SA_RESETHAND;
    for (int s : interruptSignals) {
        struct sigaction old = {};
        if (sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) {
            continue;
        }
        sigaction(s, &action, nullptr);
    }
}

} // namespace fv
