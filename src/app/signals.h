// The program's signal handlers: a run ended by any signal that ends a process by
// default and can be caught (SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGQUIT, SIGUSR1, the
// real-time signals, a fault, ...) removes the temporary files it is writing and ends by the same
// signal, so that its status tells that it was interrupted (128 + the signal's number in a shell).
#pragma once

namespace fv {

// Installs the handlers; a signal the program was started ignoring (nohup) stays ignored.
void installInterruptCleanup();

} // namespace fv
