// The one way the program reports a failure: one line on standard error,
// "frictionvib: cannot WHAT DETAIL" (DETAIL is "PATH: reason" for a file), and the
// failure status; and the end of the program, which reports a standard output that
// could not be written.
#pragma once

#include <string>

#include "state/state.h"

namespace fv {

constexpr int failureStatus = 1; // a file, a stream or the window could not be had
constexpr int usageStatus = 2;   // a wrong option, before the dialogue

// The motion's integration could not have its working memory: "memory overflow" on
// standard output, as the program has always said it, and the failure status.
[[noreturn]] void endForMemory();

// Writes the line and returns failureStatus.
int reportFailure(const char* what, const std::string& detail);

// True, after one line on standard error, when standard output could not be written
// (now, or at a flush whose reason console kept).
bool reportOutputFailure(ConsoleState* console);

// Ends the program with status (failureStatus if standard output could not be written):
// by exit() when every worker thread has ended, else at once, without the destructors
// that a thread still at work might need.
[[noreturn]] void endProgram(ConsoleState* console, int status, bool threadsEnded);

} // namespace fv
