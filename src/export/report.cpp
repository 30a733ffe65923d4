// Reports of failures, all in one form.
#include "export/report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "export/shown_text.h"

namespace fv {

int reportFailure(const char* what, const std::string& detail) {
    std::fprintf(stderr, "frictionvib: cannot %s %s\n", what, shownText(detail).c_str());
    return failureStatus;
}

bool reportOutputFailure(ConsoleState* console) {
    errno = 0;
    const bool failed = std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    if (console->outputError == 0) {
        console->outputError = errno;
    }
    if (!failed && console->outputError == 0) {
        return false;
    }
    if (console->outputError != 0) {
        reportFailure("write standard output:", std::strerror(console->outputError));
    } else {
        reportFailure("write", "standard output");
    }
    return true;
}

int reportMemoryOverflow() {
    std::fputs("memory overflow\n", stdout);
    std::fflush(stdout);
    return failureStatus;
}

} // namespace fv
