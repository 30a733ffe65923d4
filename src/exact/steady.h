// The exact steady state: the motion integrated event by event, period after period,
// until its state at the start of a forcing period repeats.
#pragma once

#include <limits>

#include "exact/motion.h"

namespace fv {

// Forcing periods integrated at most before the steady state is given up.
constexpr long maxSteadyPeriods = 3000;
// Cycles of the faster of the forcing and the free oscillation that one steady state
// may follow at most: a few seconds. At very low ratios a period holds many free
// oscillations, so fewer periods fit, and a period longer than maxPeriodCycles is not
// followed at all.
constexpr double maxSteadyCycles = 312500.0;
constexpr double maxPeriodCycles = 31250.0;
// Closed-form evaluations one steady state may take at most, whatever its cycles.
constexpr long maxSteadyEvaluations = 20000000;
// The state at the same forcing phase repeats within this, relative to the amplitude
// (the velocity relative to the amplitude times the faster of z and 1), and so does the
// estimated distance of the last state to the fixed point of the period map.
constexpr double steadyRepeatTolerance = 1e-10;

struct ExactSteady {
    double amplitude;     // half the peak-to-peak displacement over the last period [m]
    int stopsPerCycle;    // slides that ended stuck in the last period
    double stuckFraction; // part of the last period the mass was stuck [-]
    bool converged;       // within steadyRepeatTolerance of the steady state (error)
    bool atRest;          // the mass is stuck for good: no force can move it again
    long periods;         // forcing periods integrated
    bool grows;           // no steady state: the amplitude grows without bound
    // Estimated distance of the last state to the steady one [m], positions and
    // velocities over the faster of z and 1 alike: 0 for a mass at rest for good, not a
    // number where there is no estimate (not converged).
    double error = std::numeric_limits<double>::quiet_NaN();
};

// The steady state reached from (x0, v0) at the start of a forcing period (from rest at
// x = 0 by default). A negative ratio is a force of the opposite sign at the positive
// ratio. A system the motion is not defined for gives a not-a-number amplitude, not
// converged, and so does a ratio so low that one period exceeds the work budget;
// without damping and friction the motion never settles (not converged, with the
// amplitude of the periodic solution). Undamped at resonance with max(Yc, Ys)/|Yf| below
// pi/4 no steady state exists: grows, not converged, no amplitude; with only Yc/|Yf|
// below pi/4 the same where the motion has ceased to stop. At Yc/|Yf| = pi/4 (and no
// static band above Yc) the force's work and friction's balance at every amplitude: no
// steady state is singled out, not converged, no amplitude. A motion that has not
// settled gives its last period's amplitude only where motion from the start could
// have reached it. Converged means that the estimated distance to the steady state
// (error) is within steadyRepeatTolerance of the amplitude, or within the rounding of
// positions for a motion far smaller than its forces.
ExactSteady exactSteadyState(const ExactSystem& sys, double x0 = 0.0, double v0 = 0.0);

// The steady state with the orbit it settled on: the system as integrated (a negative
// ratio as the positive one with the force of the other sign, the same motion) and the
// state at the start of a forcing period (tau = 0) after the last period integrated,
// the one the repeat test accepted. The start means something only where the steady
// state converged; it is (0, 0) at rest where no period was integrated.
struct ExactSteadyOrbit {
    ExactSystem sys;
    ExactSteady steady;
    ExactState start;
};

// As exactSteadyState, whose result is steady, bit for bit.
ExactSteadyOrbit exactSteadyOrbit(const ExactSystem& sys, double x0 = 0.0, double v0 = 0.0);

} // namespace fv
