// A private X server. Xvfb chooses a free display number itself and writes it to a
// pipe (-displayfd), which also tells that it is ready; it dies with the program if
// the program dies first (PR_SET_PDEATHSIG), so no server outlives a crash.
#include "window/xserver.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fv {

namespace {

constexpr int startTimeoutMs = 20000; // a loaded machine may take seconds
constexpr int stopTimeoutMs = 5000;   // then it is killed
constexpr int pollSliceMs = 20;
// 24-bit colour like an ordinary desktop; room for the 800 x 800 window.
constexpr const char* screenGeometry = "1024x1024x24";

// The child side: Xvfb with the pipe's write end as its displayfd and the other
// descriptors it needs pointed at /dev/null.
[[noreturn]] void execServer(int fd, pid_t parent) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) {
        _exit(127); // the program ended before the request took hold
    }
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
    }
    const std::string fdText = std::to_string(fd);
    execlp("Xvfb", "Xvfb", "-displayfd", fdText.c_str(), "-screen", "0", screenGeometry,
           "-nolisten", "tcp", static_cast<char*>(nullptr));
    _exit(127);
}

// Reads the display number that Xvfb writes once it is ready.
bool readDisplayNumber(int fd, pid_t pid, std::string* number, std::string* error) {
    bool open = true;
    for (int waited = 0; waited < startTimeoutMs; waited += pollSliceMs) {
        pollfd p = {fd, POLLIN, 0};
        if (open && poll(&p, 1, pollSliceMs) > 0) {
            char buffer[32];
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n > 0) {
                number->append(buffer, static_cast<std::size_t>(n));
                if (number->find('\n') != std::string::npos) {
                    number->erase(number->find('\n'));
                    return !number->empty();
                }
                continue;
            }
            open = false; // the pipe closed without a number: the server is ending
        } else if (!open) {
            usleep(pollSliceMs * 1000);
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            *error = WIFEXITED(status) && WEXITSTATUS(status) == 127
                         ? "Xvfb: not found (install the package xvfb)"
                         : "Xvfb: ended before it was ready";
            return false;
        }
    }
    *error = "Xvfb: not ready after 20 s";
    return false;
}

} // namespace

bool startPrivateServer(PrivateServer* server, std::string* error) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        *error = std::string("Xvfb: ") + std::strerror(errno);
        return false;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        *error = std::string("Xvfb: ") + std::strerror(errno);
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (pid == 0) {
        close(fds[0]);
        fcntl(fds[1], F_SETFD, 0); // the server must inherit the write end
        execServer(fds[1], parent);
    }
    close(fds[1]);
    server->pid = pid;
    std::string number;
    const bool ready = readDisplayNumber(fds[0], pid, &number, error);
    close(fds[0]);
    if (!ready) {
        stopPrivateServer(server);
        return false;
    }
    server->name = ":" + number;
    return true;
}

void stopPrivateServer(PrivateServer* server) {
    if (server->pid <= 0) {
        return;
    }
    kill(server->pid, SIGTERM);
    int status = 0;
    for (int waited = 0; waited < stopTimeoutMs; waited += pollSliceMs) {
        const pid_t done = waitpid(server->pid, &status, WNOHANG);
        if (done == server->pid || (done < 0 && errno == ECHILD)) {
            server->pid = -1;
            return;
        }
        usleep(pollSliceMs * 1000);
    }
    kill(server->pid, SIGKILL);
    waitpid(server->pid, &status, 0);
    server->pid = -1;
}

} // namespace fv
