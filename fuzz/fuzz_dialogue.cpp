// Fuzz target: the console dialogue reading arbitrary bytes as standard input, for a
// whole pass from group (1), or from group (2), (3) or (4) after a standard parameter
// set. A pass computes all 22 curves when it reaches group (3) and must end within
// ten seconds; afterwards the view and the time response are at their defaults.
#include <cmath>
#include <unistd.h>

#include "console/dialogue.h"
#include "fuzz_support.h"
#include "state/state.h"

namespace {

constexpr double passLimitSeconds = 10.0;
constexpr char startKeys[] = {'m', 'f', 'r', 'j'};

// The state a first pass with 1 0.2 1 / 0.5 0.5 / 0.2 / 0 0 leaves, without its curves.
void standardParameters(fv::State& s) {
    s.input.m = 1.0;
    s.input.lambda = 0.2;
    s.input.K = 1.0;
    s.input.F = 0.5;
    s.input.omf = 0.5;
    s.input.Fric = 0.2;
    s.derived.omega0 = 1.0;
    s.derived.zeta = 0.1;
    s.derived.Yf = 0.5;
    s.derived.As = 0.5;
    s.derived.Yc = 0.2;
    s.derived.givenRatio = 0.5;
    s.chart.ratioStep = 0.0025;
    s.chart.sweepCount = 1200;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    static fv::State s; // a fuzz target is a program of its own
    standardParameters(s);
    s.session.currentKey = startKeys[data[0] % 4];
    // fmemopen wants at least one byte; an empty rest is an empty input.
    FILE* input = size > 1 ? fmemopen(const_cast<uint8_t*>(data + 1), size - 1, "r")
                           : std::fopen("/dev/null", "r");
    FILE* nowhere = std::fopen("/dev/null", "w"); // the texts; the fuzzer reports on stderr
    if (input == nullptr || nowhere == nullptr) {
        std::abort();
    }
    const auto start = FuzzClock::now();
    fv::consoleDialogue(s, {input, nowhere, &s.console});
    checkDuration(start, passLimitSeconds, "a dialogue pass");
    std::fclose(input);
    std::fclose(nowhere);
    if (s.motion.timeRingIndex != 0 || s.view.timeRingCapacity != 200 || s.motion.simTime != 0.0) {
        std::abort(); // every pass restores the view and restarts the motion
    }
    // The family pass gives zeta back: the value derived from m, lambda, K.
    const double derived = s.session.currentKey == 'm'
                               ? s.input.lambda / (2.0 * std::sqrt(s.input.m * s.input.K))
                               : 0.1;
    if (std::isnan(derived) ? !std::isnan(s.derived.zeta) : s.derived.zeta != derived) {
        std::abort();
    }
    return 0;
}
