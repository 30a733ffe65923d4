// Test support: runs a program with given standard input and environment, captures
// its standard output and ends it if it outlives a time limit.
#pragma once

#include <string>
#include <vector>

struct ProcessResult {
    std::string out;       // everything written to standard output
    int exitCode = -1;     // exit status, or -1 when it did not exit normally
    bool timedOut = false; // killed at the time limit
};

// Runs path with stdin fed from input (closed afterwards unless keepStdinOpen),
// extra "NAME=value" entries added to the environment, for at most limitSeconds.
ProcessResult runProcess(const std::string& path, const std::string& input,
                         const std::vector<std::string>& env = {}, double limitSeconds = 60.0,
                         bool keepStdinOpen = false);
