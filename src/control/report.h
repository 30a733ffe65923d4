// The one way the program reports a failure: one line on standard error,
// "frictionvib: cannot WHAT DETAIL" (DETAIL is "PATH: reason" for a file), and the
// failure status.
#pragma once

#include <string>

namespace fv {

constexpr int failureStatus = 1; // a file, a stream or the window could not be had
constexpr int usageStatus = 2;   // a wrong option, before the dialogue

// Writes the line and returns failureStatus.
int reportFailure(const char* what, const std::string& detail);

} // namespace fv
