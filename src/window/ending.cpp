// The window's ends of the program.
#include "window/ending.h"

#include <cstdlib>
#include <unistd.h>

#include "export/report.h"
#include "session/background.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace fv {

namespace {

// The sanitizer build checks for leaks at exit; an end without exit checks them here.
void checkLeaks() {
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check();
#endif
}

} // namespace

void endProgram(ConsoleState* console, int status, bool threadsEnded) {
    if (threadsEnded) {
        std::exit(status);
    }
    // A worker still runs: no destructor may run under it, so the process ends at once,
    // after what exit would have checked.
    _exit(reportOutputFailure(console) ? failureStatus : status);
}

void endAtOnce(Session* session, ConsoleState* console, int status) {
    cancelBackgroundWork(*session); // a worker finishes its cell or dot alone, unwaited for
    const int end = reportOutputFailure(console) ? failureStatus : status;
    checkLeaks();
    _exit(end);
}

void endForMemory() {
    std::exit(reportMemoryOverflow());
}

} // namespace fv
