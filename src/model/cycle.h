// One cycle of the exact steady motion at the entered ratio, in physical units: the work
// of the external force, of the damper and of friction over it, its orbit, and the state
// a motion starts from to be in it at once.
#pragma once

#include <vector>

#include "exact/orbit.h"
#include "model/derived.h"
#include "model/system.h"
#include "timeresp/integrate.h"

namespace fv {

// The work of one forcing period of the steady motion [J]: 0 for a mass at rest,
// not-a-number where there is no steady motion. A periodic motion returns to its
// energy, so input = viscous + friction.
struct CycleEnergy {
    double input;    // done by the external force
    double viscous;  // taken by the damper
    double friction; // taken by friction
};

// The work of a cycle of the settled orbit: K times the exact motion's work.
CycleEnergy cycleEnergy(const PhysicalSystem& in, const ExactSteadyOrbit& orbit);

// A state of the steady orbit.
struct CyclePoint {
    double t;        // time from the start of a forcing period [s]
    double y;        // displacement [m]
    double v;        // velocity [m/s]
    double friction; // friction force on the mass [N]
};

// The steady orbit at the entered ratio, from rest, at `samples` equally spaced times
// over one forcing period, both ends included (none below two samples); y, v and
// friction are not-a-number where there is no steady motion. t = tau / omega0,
// v = omega0 dx/dtau and friction = K times the exact motion's.
std::vector<CyclePoint> enteredSteadyOrbit(const PhysicalSystem& in, const Derived& d, int samples);

// The steady cycle at the entered ratio as the picture shows it: its work, its orbit and
// its amplitude [m] (not-a-number where there is no steady motion).
struct EnteredCycle {
    CycleEnergy energy;
    std::vector<CyclePoint> orbit;
    double amplitude;
    bool settled; // a steady motion exists and the orbit is it
};
EnteredCycle enteredCycle(const PhysicalSystem& in, const Derived& d, int samples);

// The start of a motion that is steady from its first frame: the exact steady orbit's
// state where the external force's phase is 0 (a forcing period's start), at t = 0.
// found is false, with the initial conditions (y0, v0) instead, where there is no
// steady motion (it does not settle, grows, or the system defines none).
struct SteadyStart {
    MotionState state;
    bool found;
};
SteadyStart steadyMotionStart(const PhysicalSystem& in, const Derived& d);

} // namespace fv
