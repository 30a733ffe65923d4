// The window's ends of the program.
#include "window/ending.h"

#include <cstdlib>
#include <unistd.h>

#include "export/report.h"

namespace fv {

void endProgram(ConsoleState* console, int status, bool threadsEnded) {
    if (threadsEnded) {
        std::exit(status);
    }
    // A worker still runs: no destructor may run under it, so the process ends at once,
    // after what exit would have checked.
    _exit(reportOutputFailure(console) ? failureStatus : status);
}

void endForMemory() {
    std::exit(reportMemoryOverflow());
}

} // namespace fv
