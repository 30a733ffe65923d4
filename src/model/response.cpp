// The time response, frame by frame.
#include "model/response.h"

#include <cmath>

#include "model/derive.h"

namespace fv {

namespace {

constexpr double frameSeconds = stepsPerFrame * timeStep; // simulated time per frame [s]
constexpr double frameSlack = 1e-9; // frames; far below one, far above rounding

} // namespace

long framesIn(double seconds) {
    return static_cast<long>(std::floor(seconds / frameSeconds + frameSlack));
}

bool timeResponse(const PhysicalSystem& in, const Derived& d, double seconds,
                  std::vector<ResponseSample>* rows) {
    const MotionParams p = motionParams(in, d);
    const long frames = framesIn(seconds);
    rows->clear();
    rows->reserve(static_cast<std::size_t>(frames + 1));
    MotionState s = initialMotion(in);
    for (long k = 0; k <= frames; ++k) {
        if (k > 0 && !advanceFrame(p, &s)) {
            return false;
        }
        // The time of frame k is k tenths of a second, written as such; the integration
        // keeps its own running sum, at which the forces are taken.
        const TimeSample sample = timeSample(p, s);
        rows->push_back(
            {static_cast<double>(k) / framesPerSecond, s.y, s.v, sample.force, sample.friction});
    }
    return true;
}

} // namespace fv
