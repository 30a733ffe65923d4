// The period map, steady motions and sweeps in physical units: the exact kernels work in
// tau = omega0 t with v = dx/dtau, so a velocity is divided by omega0 on the way in and
// multiplied on the way out, and the Jacobian is D J D^-1 with D = diag(1, omega0) (the
// multipliers, its eigenvalues, are the same).
#include "model/stability.h"

#include <cmath>
#include <limits>

#include "model/derive.h"
#include "model/trajectory.h"

namespace fv {

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

double naturalFrequency(const PhysicalSystem& in) {
    Derived d = {};
    deriveSpringMassDamper(in, &d);
    return d.omega0;
}

// The multipliers of the settled orbit, not-a-number where there is none.
void multipliersOf(const ExactSteadyOrbit& orbit, std::complex<double> mu[2]) {
    mu[0] = mu[1] = {nan, nan};
    if (!orbit.steady.converged || orbit.steady.grows) {
        return;
    }
    const PeriodMap map = exactPeriodMapFrom(orbit.sys, orbit.start);
    if (!map.valid) {
        return;
    }
    const Multipliers m = eigenvalues2(map.jacobian);
    mu[0] = m.mu[0];
    mu[1] = m.mu[1];
}

// Whether p's amplitude lies off the branch of the points before it (sweepJumpFraction).
bool leftBranch(const std::vector<SweepPoint>& points, const SweepPoint& p) {
    if (points.empty()) {
        return false;
    }
    const SweepPoint& last = points.back();
    const double before = last.motion.steady.amplitude;
    const double now = p.motion.steady.amplitude;
    double expected = before;
    if (points.size() >= 2 && !last.jumped) {
        const SweepPoint& first = points[points.size() - 2];
        const double slope = (before - first.motion.steady.amplitude) / (last.z - first.z);
        expected = before + slope * (p.z - last.z);
    }
    return std::fabs(now - expected) > sweepJumpFraction * std::fmax(now, before);
}

} // namespace

PeriodStep periodStep(const PhysicalSystem& in, double y, double v) {
    const double omega0 = naturalFrequency(in);
    const PeriodMap map = exactPeriodMap(exactSystemOf(in), y, v / omega0);
    PeriodStep out = {map.end.x, omega0 * map.end.v, {}, map.events, map.valid};
    out.jacobian[0][0] = map.jacobian[0][0];
    out.jacobian[0][1] = map.jacobian[0][1] / omega0;
    out.jacobian[1][0] = map.jacobian[1][0] * omega0;
    out.jacobian[1][1] = map.jacobian[1][1];
    if (!map.valid) {
        out.y = out.v = nan;
    }
    return out;
}

SteadyMotion steadyMotion(const PhysicalSystem& in, double y, double v) {
    const double omega0 = naturalFrequency(in);
    const ExactSteadyOrbit orbit = exactSteadyOrbit(exactSystemOf(in), y, v / omega0);
    SteadyMotion out = {orbit.steady, nan, nan, {}};
    if (orbit.steady.converged && !orbit.steady.grows) {
        out.y = orbit.start.x;
        out.v = omega0 * orbit.start.v;
    }
    multipliersOf(orbit, out.mu);
    return out;
}

SteadyMotion steadyMotionOf(const PhysicalSystem& in) {
    return steadyMotion(in, in.y0, in.v0);
}

std::vector<SweepPoint> sweepRatios(const PhysicalSystem& in, const std::vector<double>& ratios,
                                    const std::atomic<bool>* cancel) {
    const double omega0 = naturalFrequency(in);
    std::vector<SweepPoint> points;
    double y = in.y0;
    double v = in.v0;
    for (double z : ratios) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            break;
        }
        PhysicalSystem at = in;
        at.omf = z * omega0;
        SweepPoint p = {z, steadyMotion(at, y, v), false};
        p.jumped = leftBranch(points, p);
        if (std::isfinite(p.motion.y)) {
            y = p.motion.y;
            v = p.motion.v;
        }
        points.push_back(p);
    }
    return points;
}

} // namespace fv
