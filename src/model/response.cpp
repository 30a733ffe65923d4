// The time response, frame by frame.
#include "model/response.h"

#include <cmath>

#include "model/derive.h"

namespace fv {

namespace {

constexpr double frameSeconds = stepsPerFrame * timeStep; // simulated time per frame [s]
constexpr double frameSlack = 1e-9;               // frames; far below one, far above rounding
constexpr double stepsPerSecond = 1.0 / timeStep; // the integration's steps a second [1/s]

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

int stepsPerSample(double dt) {
    if (!(dt >= timeStep && dt <= maxSampleSeconds)) {
        return 0;
    }
    const double steps = std::round(dt * stepsPerSecond);
    return std::fabs(steps - dt * stepsPerSecond) <= frameSlack * steps ? static_cast<int>(steps)
                                                                        : 0;
}

bool timeResponseEvery(const PhysicalSystem& in, const Derived& d, double seconds, int steps,
                       std::vector<ResponseSample>* rows) {
    const MotionParams p = motionParams(in, d);
    const double sampleSeconds = steps * timeStep;
    const long samples = static_cast<long>(std::floor(seconds / sampleSeconds + frameSlack));
    rows->clear();
    rows->reserve(static_cast<std::size_t>(samples + 1));
    MotionState s = initialMotion(in);
    for (long k = 0; k <= samples; ++k) {
        if (k > 0 && !advanceSteps(p, steps, &s)) {
            return false;
        }
        const TimeSample sample = timeSample(p, s);
        const double t = static_cast<double>(k * steps) / stepsPerSecond;
        rows->push_back({t, s.y, s.v, sample.force, sample.friction});
    }
    return true;
}

} // namespace fv
