// Test support: child processes on pipes, with deadlines.
#include "support/process.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int pollSliceMs = 20;

using Clock = std::chrono::steady_clock;

Clock::time_point deadlineAfter(double seconds) {
    return Clock::now() + std::chrono::milliseconds(static_cast<long>(seconds * 1000));
}

// Reads what is available within one poll slice; false once the output has ended.
bool readSome(Child& child) {
    pollfd pfd = {child.outFd, POLLIN, 0};
    if (poll(&pfd, 1, pollSliceMs) <= 0) {
        return true;
    }
    char buffer[4096];
    const ssize_t n = read(child.outFd, buffer, sizeof buffer);
    if (n > 0) {
        child.out.append(buffer, static_cast<std::size_t>(n));
        return true;
    }
    return false;
}

} // namespace

bool startChild(Child& child, const std::string& path, const std::vector<std::string>& env) {
    int inPipe[2];
    int outPipe[2];
    if (pipe(inPipe) != 0 || pipe(outPipe) != 0) {
        return false;
    }
    std::signal(SIGPIPE, SIG_IGN);
    child.pid = fork();
    if (child.pid == 0) {
        dup2(inPipe[0], 0);
        dup2(outPipe[1], 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        close(inPipe[1]);
        close(outPipe[0]);
        unsetenv("DISPLAY");
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1); // the windowing libraries keep memory at exit
        for (const std::string& e : env) {
            putenv(const_cast<char*>(e.c_str()));
        }
        execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(inPipe[0]);
    close(outPipe[1]);
    child.in = inPipe[1];
    child.outFd = outPipe[0];
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
            close(child.outFd);
            return -1;
        }
    }
    closeInput(child);
    close(child.outFd);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ProcessResult runProcess(const std::string& path, const std::string& input,
                         const std::vector<std::string>& env, double limitSeconds,
                         bool keepStdinOpen) {
    ProcessResult result;
    Child child;
    if (!startChild(child, path, env)) {
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
    return result;
}
