// Reports of failures, all in one form.
#include "control/report.h"

#include <cstdio>

namespace fv {

int reportFailure(const char* what, const std::string& detail) {
    std::fprintf(stderr, "frictionvib: cannot %s %s\n", what, detail.c_str());
    return failureStatus;
}

} // namespace fv
