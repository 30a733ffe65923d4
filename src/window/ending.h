// How the window ends the program: its close, its quit key and its destruction by
// another client end the program with status 0, and a motion without memory with the
// failure status. The export only reports; the window decides to end.
#pragma once

#include "state/state.h"

namespace fv {

// Ends the program with status (failureStatus if standard output could not be written):
// by exit() when every worker thread has ended, else at once, without the destructors
// that a thread still at work might need.
[[noreturn]] void endProgram(ConsoleState* console, int status, bool threadsEnded);

// The quit key: the work off the event loop is cancelled and the process ends at once,
// waiting neither for its threads nor for the teardown of the libraries (GL, X), with
// status, or the failure status once standard output is flushed and found unwritable.
[[noreturn]] void endAtOnce(Session* session, ConsoleState* console, int status);

// The motion's integration could not have its working memory: the export's report, then
// the end with the failure status.
[[noreturn]] void endForMemory();

} // namespace fv
