// Fuzz target: the closed-form and stick-slip solvers and both sweeps for arbitrary
// zeta, Yf, Yc, ratios and grid steps. A single solver call must end within a second.
#include "analysis/continuous.h"
#include "analysis/range.h"
#include "freqchar/curves.h"
#include "freqchar/stickslip.h"
#include "fuzz_support.h"

namespace {

constexpr double callLimitSeconds = 1.0;
constexpr int maxFuzzSweepPoints = 24; // keeps one input cheap; the grid itself is fixed

fv::AmplitudeCurve continuous;
fv::AmplitudeCurve stickSlip;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    ByteReader in = {data, size, 0};
    const uint8_t mode = readByte(in);
    fv::ClosedFormSystem sys = {};
    sys.zeta = readDouble(in);
    sys.Yf = readDouble(in);
    sys.Yc = readDouble(in);
    const double z = readDouble(in);

    auto start = FuzzClock::now();
    double result = 0.0;
    fv::continuousAmplitude(z, sys, &result);
    checkDuration(start, callLimitSeconds, "continuousAmplitude");

    start = FuzzClock::now();
    double theta = 0.0;
    double beta = 0.0;
    const double A = fv::stickSlipAmplitude(z, sys, &theta, &beta);
    checkDuration(start, callLimitSeconds, "stickSlipAmplitude");
    if (A != -1.0 && !(A >= 0.001)) {
        std::fprintf(stderr, "stickSlipAmplitude returned %g\n", A);
        std::abort();
    }

    if ((mode & 1) != 0) {
        // Sweeps over a short grid with an arbitrary step, then the trim.
        const double step = readDouble(in);
        const int n = static_cast<int>(readByte(in) % maxFuzzSweepPoints);
        start = FuzzClock::now();
        fv::sweepContinuousAmplitude(step, n, sys, continuous);
        fv::sweepStickSlipCurves(step, n, &sys, &stickSlip, 1);
        checkDuration(start, callLimitSeconds * (n + 1), "sweeps");
        fv::IndexRange range = {-1, -1};
        fv::trimContinuousCurve(continuous, stickSlip, n, &range);
        if (range.low < 0 || range.high > n || range.low > range.high) {
            std::fprintf(stderr, "range {%d, %d} for n = %d\n", range.low, range.high, n);
            std::abort();
        }
    }
    return 0;
}
