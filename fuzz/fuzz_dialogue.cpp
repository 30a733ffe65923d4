// Fuzz target: the console dialogue reading arbitrary bytes as standard input, for a
// whole pass from group (1), or from group (2), (3) or (4) after a standard parameter
// set. A pass computes all 22 curves when it reaches group (3) and must end within
// ten seconds; afterwards the view and the time response are at their defaults.
#include <cmath>
#include <unistd.h>

#include "control/dialogue.h"
#include "control/params.h"
#include "fuzz_support.h"

namespace {

constexpr double passLimitSeconds = 10.0;
constexpr char startKeys[] = {'m', 'f', 'r', 'j'};

// The state a first pass with 1 0.2 1 / 0.5 0.5 / 0.2 / 0 0 leaves, without its curves.
void standardParameters() {
    fv::m = 1.0;
    fv::lambda = 0.2;
    fv::K = 1.0;
    fv::F = 0.5;
    fv::omf = 0.5;
    fv::Fric = 0.2;
    fv::omega0 = 1.0;
    fv::zeta = 0.1;
    fv::Yf = 0.5;
    fv::As = 0.5;
    fv::Yc = 0.2;
    fv::givenRatio = 0.5;
    fv::ratioStep = 0.0025;
    fv::sweepCount = 1200;
}

bool silenced = false;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (!silenced) {
        // The dialogue's texts go nowhere; the fuzzer reports on standard error.
        std::fflush(stdout);
        if (std::freopen("/dev/null", "w", stdout) == nullptr) {
            std::abort();
        }
        silenced = true;
    }
    if (size == 0) {
        return 0;
    }
    standardParameters();
    fv::currentKey = startKeys[data[0] % 4];
    // fmemopen wants at least one byte; an empty rest is an empty input.
    FILE* input = size > 1 ? fmemopen(const_cast<uint8_t*>(data + 1), size - 1, "r")
                           : std::fopen("/dev/null", "r");
    if (input == nullptr) {
        return 0;
    }
    FILE* saved = stdin;
    stdin = input;
    const auto start = FuzzClock::now();
    fv::consoleDialogue();
    checkDuration(start, passLimitSeconds, "a dialogue pass");
    stdin = saved;
    std::fclose(input);
    if (fv::timeRingIndex != 0 || fv::timeRingCapacity != 200 || fv::simTime != 0.0) {
        std::abort(); // every pass restores the view and restarts the motion
    }
    // The family pass gives zeta back: the value derived from m, lambda, K.
    const double derived =
        fv::currentKey == 'm' ? fv::lambda / (2.0 * std::sqrt(fv::m * fv::K)) : 0.1;
    if (std::isnan(derived) ? !std::isnan(fv::zeta) : fv::zeta != derived) {
        std::abort();
    }
    return 0;
}
