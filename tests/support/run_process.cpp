// Test support: fork/exec with pipes on standard input and output and a deadline.
#include "support/run_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int pollSliceMs = 20;

void childExec(const std::string& path, int inRead, int outWrite,
               const std::vector<std::string>& env) {
    dup2(inRead, 0);
    dup2(outWrite, 1);
    for (const std::string& e : env) {
        putenv(const_cast<char*>(e.c_str()));
    }
    execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

} // namespace

ProcessResult runProcess(const std::string& path, const std::string& input,
                         const std::vector<std::string>& env, double limitSeconds,
                         bool keepStdinOpen) {
    ProcessResult result;
    int inPipe[2];
    int outPipe[2];
    if (pipe(inPipe) != 0 || pipe(outPipe) != 0) {
        return result;
    }
    std::signal(SIGPIPE, SIG_IGN);
    const pid_t pid = fork();
    if (pid == 0) {
        close(inPipe[1]);
        close(outPipe[0]);
        childExec(path, inPipe[0], outPipe[1], env);
    }
    close(inPipe[0]);
    close(outPipe[1]);
    fcntl(inPipe[1], F_SETFL, O_NONBLOCK);
    std::size_t written = 0;
    bool inOpen = true;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long>(limitSeconds * 1000));
    char buffer[4096];
    for (;;) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            result.timedOut = true;
            break;
        }
        if (inOpen && written < input.size()) {
            const ssize_t n = write(inPipe[1], input.data() + written, input.size() - written);
            if (n > 0) {
                written += static_cast<std::size_t>(n);
            } else if (n < 0 && errno != EAGAIN) {
                close(inPipe[1]);
                inOpen = false;
            }
        }
        if (inOpen && written == input.size() && !keepStdinOpen) {
            close(inPipe[1]);
            inOpen = false;
        }
        pollfd pfd = {outPipe[0], POLLIN, 0};
        if (poll(&pfd, 1, pollSliceMs) > 0) {
            const ssize_t n = read(outPipe[0], buffer, sizeof buffer);
            if (n > 0) {
                result.out.append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            if (n == 0) {
                break; // the program closed its output: it is ending
            }
        }
    }
    if (inOpen) {
        close(inPipe[1]);
    }
    close(outPipe[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    return result;
}
