// The time response of the system as the strip chart and time.csv show it: a sample
// every frame of 0.1 s from the initial conditions, integrated as the window integrates.
#pragma once

#include <vector>

#include "model/derived.h"
#include "model/system.h"

namespace fv {

constexpr double framesPerSecond = 10.0; // a frame is 0.1 s of motion [1/s]
// The longest time response a front end asks for: a million frames of 0.1 s, about 90 MB
// of text as time.csv [s].
constexpr double maxResponseSeconds = 100000.0;

// One frame's sample: the motion and the forces on the mass.
struct ResponseSample {
    double t;        // the frame's time, its index in tenths of a second [s]
    double y;        // displacement [m]
    double v;        // velocity [m/s]
    double force;    // external force [N]
    double friction; // friction force on the mass [N]
};

// Frames of 0.1 s in seconds (a tiny slack absorbs the rounding of seconds / 0.1).
long framesIn(double seconds);

// Frames 0 to framesIn(seconds) from t = 0 and (y0, v0) into *rows; false, with the
// frames before it, where a frame could not be integrated (no working memory).
bool timeResponse(const PhysicalSystem& in, const Derived& d, double seconds,
                  std::vector<ResponseSample>* rows);

// The longest sampling interval a front end asks for: a sample every 1000 s [s].
constexpr double maxSampleSeconds = 1000.0;

// Integration steps (of timeStep) between two samples taken every dt seconds, or 0 where
// dt is not a whole number of steps from one step to maxSampleSeconds.
int stepsPerSample(double dt);

// Samples every steps * timeStep seconds from t = 0 and (y0, v0) up to seconds, as
// timeResponse (whose frames are the samples at steps = stepsPerFrame); sample k at
// t = k steps timeStep.
bool timeResponseEvery(const PhysicalSystem& in, const Derived& d, double seconds, int steps,
                       std::vector<ResponseSample>* rows);

} // namespace fv
