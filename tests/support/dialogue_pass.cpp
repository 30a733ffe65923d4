// Test support: standard input from a file, standard output into a file, for one pass.
#include "support/dialogue_pass.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "control/dialogue.h"
#include "control/params.h"

std::string dialoguePass(char key, const std::string& input) {
    char inName[] = "/tmp/fv-in-XXXXXX";
    char outName[] = "/tmp/fv-out-XXXXXX";
    const int inFd = mkstemp(inName);
    const int outFd = mkstemp(outName);
    if (write(inFd, input.data(), input.size()) != static_cast<ssize_t>(input.size())) {
        std::abort();
    }
    close(inFd);
    if (std::freopen(inName, "r", stdin) == nullptr) {
        std::abort();
    }
    std::fflush(stdout);
    const int savedOut = dup(1);
    dup2(outFd, 1);
    fv::currentKey = key;
    fv::consoleDialogue();
    std::fflush(stdout);
    dup2(savedOut, 1);
    close(savedOut);
    std::string out;
    char buffer[4096];
    lseek(outFd, 0, SEEK_SET);
    ssize_t n = 0;
    while ((n = read(outFd, buffer, sizeof buffer)) > 0) {
        out.append(buffer, static_cast<std::size_t>(n));
    }
    close(outFd);
    unlink(inName);
    unlink(outName);
    return out;
}
