// The stability of the physical system's motion, in physical units (y [m], v [m/s] at
// the start of a forcing period, t = 0 mod 2 pi / |omf|): its period map with the exact
// Jacobian, the steady state reached from any state with its Floquet multipliers, and a
// sweep of the forcing frequency that starts each point from the last one's steady state.
#pragma once

#include <atomic>
#include <complex>
#include <vector>

#include "exact/period_map.h"
#include "exact/steady.h"
#include "model/system.h"

namespace fv {

// A sweep's motion has jumped where its amplitude lies off the branch by more than this
// part of the larger of it and the last one: off the straight line through the two points
// before (off the last point where there are not two on one branch). A branch followed by
// continuation moves by far less between points of any grid fine enough to follow it [-].
constexpr double sweepJumpFraction = 0.5;

// One period of the motion from (y, v) at the start of a forcing period.
struct PeriodStep {
    double y, v;           // the state one period later [m], [m/s]
    double jacobian[2][2]; // d(y, v)_end / d(y, v)_start
    int events;            // stops, breakaways and turns in the period
    bool valid;            // the period was integrated
};

PeriodStep periodStep(const PhysicalSystem& in, double y, double v);

// The steady motion reached from (y, v) at t = 0. steady.amplitude and steady.error in
// metres; (y, v) the state at the start of a forcing period on the settled motion and
// mu its Floquet multipliers, not-a-number where it did not settle (or grows).
struct SteadyMotion {
    ExactSteady steady;
    double y, v; // [m], [m/s]
    std::complex<double> mu[2];
};

SteadyMotion steadyMotion(const PhysicalSystem& in, double y, double v);

// The Floquet multipliers of the steady motion from the system's own (y0, v0).
SteadyMotion steadyMotionOf(const PhysicalSystem& in);

struct SweepPoint {
    double z; // frequency ratio omf/omega0 [-]
    SteadyMotion motion;
    bool jumped; // the amplitude left the branch by more than sweepJumpFraction (above)
};

// The steady motions at the ratios in the order given: the first from the system's own
// (y0, v0), each next from the last settled state before it (from rest where none has
// settled yet). Stops early, with the points done, once *cancel is set.
std::vector<SweepPoint> sweepRatios(const PhysicalSystem& in, const std::vector<double>& ratios,
                                    const std::atomic<bool>* cancel);

} // namespace fv
