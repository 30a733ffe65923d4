// The one way the program reports a failure: one line on standard error,
// "frictionvib: cannot WHAT DETAIL" (DETAIL is "PATH: reason" for a file), and the
// failure status; a standard output that could not be written; and a motion without
// memory. Reports only: whether the program ends is the front end's to decide.
#pragma once

#include <string>

#include "state/state.h"

namespace fv {

constexpr int failureStatus = 1; // a file, a stream or the window could not be had
constexpr int usageStatus = 2;   // a wrong option, before the dialogue

// The motion's integration could not have its working memory: "memory overflow" on
// standard output, as the program has always said it. Returns failureStatus.
int reportMemoryOverflow();

// Writes the line and returns failureStatus.
int reportFailure(const char* what, const std::string& detail);

// True, after one line on standard error, when standard output could not be written
// (now, or at a flush whose reason console kept).
bool reportOutputFailure(ConsoleState* console);

} // namespace fv
