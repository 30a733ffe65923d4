// Test support: child processes on pipes, with deadlines.
#include "support/process.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int pollSliceMs = 20;

using Clock = std::chrono::steady_clock;

Clock::time_point deadlineAfter(double seconds) {
    return Clock::now() + std::chrono::milliseconds(static_cast<long>(seconds * 1000));
}

// Reads what is available on standard output and error within one poll slice; false
// once standard output has ended.
bool readSome(Child& child) {
    pollfd pfd[2] = {{child.outFd, POLLIN, 0}, {child.errFd, POLLIN, 0}};
    if (poll(pfd, 2, pollSliceMs) <= 0) {
        return true;
    }
    char buffer[4096];
    if (pfd[1].revents != 0) {
        const ssize_t n = read(child.errFd, buffer, sizeof buffer);
        if (n > 0) {
            child.err.append(buffer, static_cast<std::size_t>(n));
        } else {
            close(child.errFd);
            child.errFd = -1; // poll ignores a negative descriptor
        }
    }
    if (pfd[0].revents == 0) {
        return true;
    }
    const ssize_t n = read(child.outFd, buffer, sizeof buffer);
    if (n > 0) {
        child.out.append(buffer, static_cast<std::size_t>(n));
        return true;
    }
    return false;
}

void closeOutputs(Child& child) {
    for (int* fd : {&child.outFd, &child.errFd}) {
        if (*fd >= 0) {
            close(*fd);
            *fd = -1;
        }
    }
}

// This process's environment without DISPLAY, with the assignments of env in place of
// the variables they name.
std::vector<std::string> childEnvironment(const std::vector<std::string>& env) {
    std::vector<std::string> result;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = name == "DISPLAY";
        for (const std::string& assignment : env) {
            replaced = replaced || assignment.compare(0, name.size() + 1, name + "=") == 0;
        }
        if (!replaced) {
            result.push_back(entry);
        }
    }
    result.insert(result.end(), env.begin(), env.end());
    return result;
}

} // namespace

bool startChild(Child& child, const std::string& path, const std::vector<std::string>& env,
                const ChildOptions& options) {
    // Close-on-exec: a child started meanwhile by another thread must not keep these
    // pipes open (dup2 below clears the flag on 0, 1 and 2 of this child).
    int inPipe[2];
    int outPipe[2];
    int errPipe[2];
    if (pipe2(inPipe, O_CLOEXEC) != 0 || pipe2(outPipe, O_CLOEXEC) != 0 ||
        pipe2(errPipe, O_CLOEXEC) != 0) {
        return false;
    }
    std::vector<char*> argv = {const_cast<char*>(path.c_str())};
    for (const std::string& a : options.args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    // The child's environment, made before the fork: between fork and exec a child of a
    // process with other threads may only call what is async-signal-safe (setenv and
    // putenv take locks and allocate, and can hang there for ever).
    const std::vector<std::string> environment = childEnvironment(env);
    std::vector<char*> envp;
    for (const std::string& e : environment) {
        envp.push_back(const_cast<char*>(e.c_str()));
    }
    envp.push_back(nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    child.pid = fork();
    if (child.pid == 0) {
        dup2(inPipe[0], 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        for (int fd : {inPipe[0], inPipe[1], outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) {
            close(fd);
        }
        if (options.closeStdin) {
            close(0);
        }
        if (options.closeStdout) {
            close(1);
        }
        if (!options.cwd.empty() && chdir(options.cwd.c_str()) != 0) {
            _exit(126);
        }
        execve(path.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);
    child.in = inPipe[1];
    child.outFd = outPipe[0];
    child.errFd = errPipe[0];
    return child.pid > 0;
}

void sendInput(Child& child, const std::string& text) {
    std::size_t written = 0;
    while (child.in >= 0 && written < text.size()) {
        const ssize_t n = write(child.in, text.data() + written, text.size() - written);
        if (n <= 0) {
            break;
        }
        written += static_cast<std::size_t>(n);
    }
}

void closeInput(Child& child) {
    if (child.in >= 0) {
        close(child.in);
        child.in = -1;
    }
}

bool readUntil(Child& child, const std::string& text, double seconds, std::size_t from) {
    const auto deadline = deadlineAfter(seconds);
    while (child.out.find(text, from) == std::string::npos) {
        if (Clock::now() > deadline || !readSome(child)) {
            return child.out.find(text, from) != std::string::npos;
        }
    }
    return true;
}

int waitExit(Child& child, double seconds) {
    const auto deadline = deadlineAfter(seconds);
    int status = 0;
    for (;;) {
        readSome(child);
        const pid_t done = waitpid(child.pid, &status, WNOHANG);
        if (done == child.pid) {
            break;
        }
        if (Clock::now() > deadline) {
            kill(child.pid, SIGKILL);
            waitpid(child.pid, &status, 0);
            closeInput(child);
            closeOutputs(child);
            return -1;
        }
    }
    // What the child wrote just before it ended; a descendant holding the pipe open
    // must not keep the test waiting.
    const auto drainDeadline = deadlineAfter(1.0);
    while (child.outFd >= 0 && Clock::now() < drainDeadline && readSome(child)) {
    }
    closeInput(child);
    closeOutputs(child);
    if (WIFSIGNALED(status)) {
        return signalStatusBase + WTERMSIG(status); // as a shell reports it
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ProcessResult runProcess(const std::string& path, const std::string& input,
                         const std::vector<std::string>& env, double limitSeconds,
                         bool keepStdinOpen, const ChildOptions& options) {
    ProcessResult result;
    Child child;
    if (!startChild(child, path, env, options)) {
        return result;
    }
    const auto deadline = deadlineAfter(limitSeconds);
    sendInput(child, input);
    if (!keepStdinOpen) {
        closeInput(child);
    }
    while (Clock::now() < deadline && readSome(child)) {
    }
    result.timedOut = Clock::now() >= deadline;
    result.exitCode = waitExit(child, result.timedOut ? 0.0 : limitSeconds);
    result.out = child.out;
    result.err = child.err;
    return result;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}
