// The work done on the mass over one cycle of the exact steady motion: by the external
// force, by viscous damping and by friction.
#pragma once

#include "exact/steady.h"

namespace fv {

// The work of one forcing period 2 pi / z in the units of the closed forms (tau =
// omega0 t, x [m]) [m^2]; K times each is the work in joules.
struct CycleWork {
    double input;    // of the external force, the integral of Yf sin(z tau) x'
    double viscous;  // taken by the damper, the integral of 2 zeta x'^2
    double friction; // taken by friction, Yc times the integral of |x'|
};

// The work of one period of the settled orbit: 0 for a mass at rest for good,
// not-a-number where there is no steady motion (not converged, grows, not defined) or
// its period could not be integrated.
CycleWork exactCycleWork(const ExactSteadyOrbit& orbit);

} // namespace fv
