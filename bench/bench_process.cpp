// Whole first passes side by side as processes: the program in batch mode (start,
// dialogue, group (3) pass, end) against the straightforward single-threaded
// computation of the same pass (reference_pass), for each class of system; the median
// wall time of several runs each and their ratio.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int runs = 15;

using Clock = std::chrono::steady_clock;

// Wall time of path with args, standard input from the text, output discarded [ms].
double runOnce(const char* path, const char* arg, const std::string& input) {
    char name[] = "/tmp/fv-bench-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0 || write(fd, input.data(), input.size()) != static_cast<ssize_t>(input.size())) {
        std::exit(3);
    }
    lseek(fd, 0, SEEK_SET);
    unlink(name);
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fd, 0);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        execl(path, path, arg, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    close(fd);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s ended with status %d\n", path, WEXITSTATUS(status));
        std::exit(1);
    }
    return ms;
}

// Medians of the two, runs interleaved so that both see the same machine.
void measure(const char* name, const std::string& input) {
    double program[runs];
    double reference[runs];
    for (int k = 0; k < runs; ++k) {
        program[k] = runOnce(FRICTIONVIB_PATH, "--batch", input);
        reference[k] = runOnce(REFERENCE_PATH, nullptr, input);
    }
    std::sort(program, program + runs);
    std::sort(reference, reference + runs);
    const double p = program[runs / 2];
    const double r = reference[runs / 2];
    std::printf("%-34s %10.1f ms %10.1f ms %8.3f\n", name, p, r, p / r);
}

} // namespace

int main() {
    std::printf("%-34s %13s %13s %8s\n", "whole first pass", "program", "reference", "ratio");
    measure("zeta 0, Yc/Yf 0.01, z 0.005", "1 0 1\n1 0.005\n0.01\n0 0\n");
    measure("zeta 0.05, Yc/Yf 0.05 (light)", "1 0.1 1\n1 1\n0.05\n0 0\n");
    measure("zeta 0.1, Yc/Yf 0.4", "1 0.2 1\n0.5 0.5\n0.2\n0 0\n");
    measure("zeta 1, Yc/Yf 0.4", "1 2 1\n0.5 0.7\n0.2\n0 0\n");
    measure("zeta 3, Yc/Yf 0.17", "1 6 1\n0.3 1.5\n0.05\n0 0\n");
    return 0;
}
