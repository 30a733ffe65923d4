// The exact motion in physical units: the exact kernels' values converted once here.
#include "model/trajectory.h"

#include <cmath>

#include "common/constants.h"
#include "model/derive.h"

namespace fv {

namespace {

MotionPoint physical(const PhysicalSystem& in, double omega0, const OrbitSample& s) {
    return {s.tau / omega0, s.x, omega0 * s.v, in.K * s.friction};
}

} // namespace

ExactSystem exactSystemOf(const PhysicalSystem& in) {
    Derived d = {};
    deriveMotion(in, &d);
    deriveDeadBand(in, &d);
    d.givenRatio = enteredRatio(in, d);
    return exactSystem(d);
}

double forcingPeriod(const PhysicalSystem& in) {
    return fullTwoPi / std::fabs(in.omf);
}

MotionTrajectory motionTrajectory(const PhysicalSystem& in, const std::vector<double>& times,
                                  double tEnd, const std::atomic<bool>* cancel) {
    Derived d = {};
    deriveSpringMassDamper(in, &d);
    const double omega0 = d.omega0;
    std::vector<double> taus;
    taus.reserve(times.size());
    for (double t : times) {
        taus.push_back(omega0 * t);
    }
    const ExactTrajectory e =
        exactTrajectory(exactSystemOf(in), in.y0, in.v0 / omega0, taus, omega0 * tEnd, cancel);
    MotionTrajectory out = {{}, {}, {}, e.complete};
    out.points.reserve(e.samples.size());
    for (std::size_t k = 0; k < e.samples.size(); ++k) {
        out.points.push_back(physical(in, omega0, e.samples[k]));
        out.points.back().t = times[k]; // the time asked for, not its round trip
    }
    for (const ExactEvent& ev : e.events) {
        out.events.push_back({ev.tau / omega0, ev.kind, ev.x});
    }
    const double period = forcingPeriod(in);
    for (std::size_t k = 0; k < e.periodStarts.size(); ++k) {
        const ExactState& s = e.periodStarts[k];
        // At the start of a period the force is F sin(0) = 0: a stuck mass is held by K y.
        const double friction = s.sliding == Sliding::stuck
                                    ? in.K * s.x
                                    : -static_cast<double>(static_cast<int>(s.sliding)) * in.Fric;
        out.periodStarts.push_back({period * static_cast<double>(k), s.x, omega0 * s.v, friction});
    }
    return out;
}

} // namespace fv
