// Test support: runs the real program as a child process with its standard input and
// output on pipes, so a test can type into it in stages, read what it prints and
// end it at a time limit. The child has no display unless the test gives one.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct Child {
    pid_t pid = -1;
    int in = -1;     // write end of the child's standard input
    int outFd = -1;  // read end of the child's standard output
    int errFd = -1;  // read end of the child's standard error
    std::string out; // everything read so far
    std::string err;
};

struct ProcessResult {
    std::string out;       // everything written to standard output
    std::string err;       // everything written to standard error
    int exitCode = -1;     // exit status (128 + n after signal n), or -1 at the time limit
    bool timedOut = false; // killed at the time limit
};

// How a child starts besides its environment.
struct ChildOptions {
    std::vector<std::string> args; // command-line arguments after the program's name
    std::string cwd;               // working folder, or the test's own
    bool closeStdin = false;       // start with standard input closed
    bool closeStdout = false;      // start with standard output closed
};

// Starts path with "NAME=value" entries added to an environment without DISPLAY.
bool startChild(Child& child, const std::string& path, const std::vector<std::string>& env,
                const ChildOptions& options = {});
void sendInput(Child& child, const std::string& text);
void closeInput(Child& child);
// Reads until the output holds text at or after position from; false at the limit or
// when the output ends first.
bool readUntil(Child& child, const std::string& text, double seconds, std::size_t from = 0);
// Exit status of a child ended by signal n, as a shell gives it: 128 + n.
constexpr int signalStatusBase = 128;

// Waits for the child to end; its exit status (128 + the signal when a signal ended
// it), or -1 after killing it at the limit.
int waitExit(Child& child, double seconds);

// Runs path with the whole of input on standard input (closed afterwards unless
// keepStdinOpen) for at most limitSeconds.
ProcessResult runProcess(const std::string& path, const std::string& input,
                         const std::vector<std::string>& env = {}, double limitSeconds = 60.0,
                         bool keepStdinOpen = false, const ChildOptions& options = {});

// The whole text of a file the program wrote (empty when it cannot be read), and a text
// split into its lines.
std::string readFile(const std::string& path);
std::vector<std::string> lines(const std::string& text);
