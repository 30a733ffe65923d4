// One cycle of the exact steady motion in physical units: the exact motion's values are
// in tau = omega0 t and metres, its forces and works over K.
#include "model/cycle.h"

#include <cmath>

#include "exact/energy.h"
#include "model/derive.h"

namespace fv {

CycleEnergy cycleEnergy(const PhysicalSystem& in, const ExactSteadyOrbit& orbit) {
    const CycleWork w = exactCycleWork(orbit);
    return {in.K * w.input, in.K * w.viscous, in.K * w.friction};
}

namespace {

std::vector<CyclePoint> physicalOrbit(const PhysicalSystem& in, const Derived& d,
                                      const ExactSteadyOrbit& orbit, int samples) {
    std::vector<CyclePoint> points;
    for (const OrbitSample& s : sampleSteadyOrbit(orbit, samples)) {
        points.push_back({s.tau / d.omega0, s.x, d.omega0 * s.v, in.K * s.friction});
    }
    return points;
}

} // namespace

std::vector<CyclePoint> enteredSteadyOrbit(const PhysicalSystem& in, const Derived& d,
                                           int samples) {
    return physicalOrbit(in, d, exactSteadyOrbit(exactSystem(d)), samples);
}

EnteredCycle enteredCycle(const PhysicalSystem& in, const Derived& d, int samples) {
    const ExactSteadyOrbit orbit = exactSteadyOrbit(exactSystem(d));
    EnteredCycle c;
    c.energy = cycleEnergy(in, orbit);
    c.orbit = physicalOrbit(in, d, orbit, samples);
    c.amplitude = orbit.steady.amplitude;
    c.settled = orbit.steady.converged && !orbit.steady.grows && !c.orbit.empty() &&
                std::isfinite(c.orbit.front().y);
    return c;
}

SteadyStart steadyMotionStart(const PhysicalSystem& in, const Derived& d) {
    const SteadyStart none = {initialMotion(in), false};
    const ExactSteadyOrbit orbit = exactSteadyOrbit(exactSystem(d));
    ExactSetup setup = {};
    std::vector<ExactPiece> pieces;
    if (!steadyPieces(orbit, &setup, &pieces)) {
        return none;
    }
    // The period-start state; a mass stuck there has no velocity, whatever rounding left.
    const double v = orbit.start.sliding == Sliding::stuck ? 0.0 : d.omega0 * orbit.start.v;
    return {{0.0, orbit.start.x, v}, true};
}

} // namespace fv
