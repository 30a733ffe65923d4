// The program's signal handlers: a run ended by SIGINT, SIGTERM, SIGHUP or SIGPIPE
// removes the temporary files it is writing and ends by the same signal, so that its
// status tells that it was interrupted (128 + the signal's number in a shell).
#pragma once

namespace fv {

// Installs the handlers; a signal the program was started ignoring (nohup) stays ignored.
void installInterruptCleanup();

} // namespace fv
