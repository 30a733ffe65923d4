// The exact motion of the physical system from its initial conditions, in physical
// units: its state at chosen times and its events (the exact motion's, t = tau / omega0,
// v = omega0 dx/dtau, forces K times the exact motion's), and its state at the start of
// every forcing period (a Poincaré section).
#pragma once

#include <atomic>
#include <vector>

#include "exact/trajectory.h"
#include "model/derived.h"
#include "model/system.h"

namespace fv {

// The longest trajectory a front end asks for, in forcing periods: a few seconds of work
// at a few microseconds a period [-].
constexpr double maxTrajectoryPeriods = 2.0e6;

struct MotionPoint {
    double t;        // time from the start [s]
    double y;        // displacement [m]
    double v;        // velocity [m/s]
    double friction; // friction force on the mass [N]: -Fric sgn(v) while it slides, what
                     // holds it (K y - F sin(omf t)) while it sticks
};

struct MotionEvent {
    double t; // [s]
    EventKind kind;
    double y; // [m]
};

struct MotionTrajectory {
    std::vector<MotionPoint> points;       // at the times asked for
    std::vector<MotionEvent> events;       // every event up to the end
    std::vector<MotionPoint> periodStarts; // at t = k 2 pi / |omf|, k = 0 .. periods
    bool complete;                         // not cancelled, every period integrated
};

// The exact system of the physical one at its forcing frequency: groups (1) to (3).
ExactSystem exactSystemOf(const PhysicalSystem& in);

// The forcing period 2 pi / |omf| [s].
double forcingPeriod(const PhysicalSystem& in);

// The exact motion from (y0, v0) at t = 0 up to tEnd [s], sampled at times (ascending,
// within [0, tEnd]); stops early, incomplete, once *cancel is set.
MotionTrajectory motionTrajectory(const PhysicalSystem& in, const std::vector<double>& times,
                                  double tEnd, const std::atomic<bool>* cancel);

} // namespace fv
