// The plain second method: fixed Runge-Kutta steps through each forcing period, the events
// inside a step (a breakaway, a velocity zero) located by bisection, and the states at the
// start of successive periods compared until they repeat.
//
// Short events are not stepped over. A stuck mass is tested for breakaway at the end of
// every step and at every peak of the forcing sine inside it: between those points the
// force on the mass, Yf sin(z tau) - xs, is monotone, so a window in which it exceeds the
// friction force is seen however much shorter than a step it is, and the crossing is
// bisected in time down to the resolution of the time. A sliding mass is tested for a
// velocity zero at the end of every step and, against a dip below zero that comes back
// within the step, at the lowest turning point of the cubic Hermite interpolant of s v
// through the velocities and accelerations at both ends, confirmed by a Runge-Kutta
// sub-step to that point; the zero is bisected on the length of the sub-step.
//
// A slide that ends (to a part in 1e13 of a period) where it began never moved the mass:
// the force only exceeded the friction force by rounding. The mass stays stuck to the end
// of the step, and a slide from rest that could not start is no stop.
#include "exact/plain_motion.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace plain {

namespace {

constexpr double pi = 3.14159265358979323846;
// Events in one step beyond which the period is given up: no real motion has them.
constexpr int maxEventsPerStep = 64;
// A slide shorter than this part of a period never moved the mass.
constexpr double unstartedSlide = 1e-13;

struct Model {
    double zeta, z, Yf, Yc;
    double Ys; // static band, at least Yc
};

// Direction of motion: +1 or -1 while sliding, 0 while stuck.
struct State {
    double x, v;
    int s;
};

struct PeriodRecord {
    double xMin, xMax;
    int stops;
    double stuckTime;
    bool stuckForGood;
    bool incomplete;
};

// The applied force less the spring force: what friction has to hold.
double force(const Model& m, double t, double x) {
    return m.Yf * std::sin(m.z * t) - x;
}

double acceleration(const Model& m, double s, double t, double x, double v) {
    return force(m, t, x) - 2.0 * m.zeta * v - s * m.Yc;
}

// One classical Runge-Kutta step of length dt from (t, *x, *v), sliding in direction s.
void rk4(const Model& m, double s, double t, double dt, double* x, double* v) {
    const double x0 = *x;
    const double v0 = *v;
    const double k1x = v0;
    const double k1v = acceleration(m, s, t, x0, v0);
    const double k2x = v0 + 0.5 * dt * k1v;
    const double k2v = acceleration(m, s, t + 0.5 * dt, x0 + 0.5 * dt * k1x, k2x);
    const double k3x = v0 + 0.5 * dt * k2v;
    const double k3v = acceleration(m, s, t + 0.5 * dt, x0 + 0.5 * dt * k2x, k3x);
    const double k4x = v0 + dt * k3v;
    const double k4v = acceleration(m, s, t + dt, x0 + dt * k3x, k4x);
    *x = x0 + dt / 6.0 * (k1x + 2.0 * k2x + 2.0 * k3x + k4x);
    *v = v0 + dt / 6.0 * (k1v + 2.0 * k2v + 2.0 * k3v + k4v);
}

bool exceeds(const Model& m, double t, double xs) {
    return std::fabs(force(m, t, xs)) > m.Ys;
}

// The first time after ta, up to tb, at which a mass stuck at xs (held at ta) breaks away;
// *broke false and tb when it holds throughout. The force is tested at each peak of the
// sine inside the step and at tb; the first monotone piece whose end exceeds the friction
// force holds the crossing.
double breakawayTime(const Model& m, double ta, double tb, double xs, bool* broke) {
    double lo = ta;
    double k = std::ceil((m.z * ta - 0.5 * pi) / pi); // peaks at z t = pi/2 + k pi
    while (lo < tb) {
        const double peak = (0.5 * pi + k * pi) / m.z;
        k += 1.0;
        if (peak <= lo) {
            continue;
        }
        const double hi = std::min(peak, tb);
        if (exceeds(m, hi, xs)) {
            double a = lo;
            double b = hi;
            for (;;) {
                const double mid = 0.5 * (a + b);
                if (!(mid > a && mid < b)) {
                    break;
                }
                (exceeds(m, mid, xs) ? b : a) = mid;
            }
            *broke = true;
            return b;
        }
        lo = hi;
    }
    *broke = false;
    return tb;
}

// The lowest value of the cubic Hermite interpolant on [0, 1] through p0, p1 with slopes
// d0, d1 (per unit of the parameter) at its turning points strictly inside, and where;
// +infinity when no turning point is inside.
double hermiteDip(double p0, double d0, double p1, double d1, double* where) {
    const double c0 = p0;
    const double c1 = d0;
    const double c2 = -3.0 * p0 - 2.0 * d0 + 3.0 * p1 - d1;
    const double c3 = 2.0 * p0 + d0 - 2.0 * p1 + d1;
    // Turning points: 3 c3 u^2 + 2 c2 u + c1 = 0.
    const double a = 3.0 * c3;
    const double b = 2.0 * c2;
    const double c = c1;
    double roots[2];
    int count = 0;
    if (a == 0.0) {
        if (b != 0.0) {
            roots[count++] = -c / b;
        }
    } else {
        const double disc = b * b - 4.0 * a * c;
        if (disc >= 0.0) {
            const double q = -0.5 * (b + std::copysign(std::sqrt(disc), b));
            roots[count++] = q / a;
            if (q != 0.0) {
                roots[count++] = c / q;
            }
        }
    }
    double least = INFINITY;
    for (int i = 0; i < count; ++i) {
        const double u = roots[i];
        if (u > 0.0 && u < 1.0) {
            const double value = ((c3 * u + c2) * u + c1) * u + c0;
            if (value < least) {
                least = value;
                *where = u;
            }
        }
    }
    return least;
}

// Whether the sliding velocity reaches zero in the step of length dt from (t, x, v) that
// ended at (x1, v1): if so *theta is a part of the step at which s v is no longer
// positive (the end, or the bottom of a dip inside the step).
bool zeroInStep(const Model& m, int s, double t, double dt, double x, double v, double x1,
                double v1, double* theta) {
    if (!(s * v1 > 0.0)) {
        *theta = 1.0;
        return true;
    }
    const double p0 = s * v;
    const double p1 = s * v1;
    const double d0 = dt * s * acceleration(m, s, t, x, v);
    const double d1 = dt * s * acceleration(m, s, t + dt, x1, v1);
    double u = 0.0;
    if (!(hermiteDip(p0, d0, p1, d1, &u) < 0.0)) {
        return false;
    }
    double xu = x;
    double vu = v;
    rk4(m, s, t, u * dt, &xu, &vu);
    if (s * vu > 0.0) {
        return false;
    }
    *theta = u;
    return true;
}

// Advances *st through one forcing period, tau from 0 to period, in steps equal parts of
// it, and tells what happened in *r.
void runPeriod(const Model& m, double period, int steps, State* st, PeriodRecord* r) {
    *r = {st->x, st->x, 0, 0.0, false, false};
    auto track = [&](double x) {
        r->xMin = std::min(r->xMin, x);
        r->xMax = std::max(r->xMax, x);
    };
    double slideStart = -INFINITY; // when the current slide began
    bool fromRest = false;         // the current slide began with a breakaway
    for (int i = 0; i < steps; ++i) {
        const double ta = period * i / steps;
        const double tb = i + 1 == steps ? period : period * (i + 1) / steps;
        double t = ta;
        int events = 0;
        while (t < tb) {
            if (++events > maxEventsPerStep) {
                r->incomplete = true;
                return;
            }
            if (st->s == 0) {
                if (std::fabs(m.Yf) + std::fabs(st->x) <= m.Ys) {
                    r->stuckForGood = true;
                    return;
                }
                bool broke = exceeds(m, t, st->x);
                const double tBreak = broke ? t : breakawayTime(m, t, tb, st->x, &broke);
                r->stuckTime += tBreak - t;
                t = tBreak;
                if (broke) {
                    st->s = force(m, t, st->x) > 0.0 ? 1 : -1;
                    st->v = 0.0;
                    slideStart = t;
                    fromRest = true;
                }
                continue;
            }
            const double dt = tb - t;
            double x1 = st->x;
            double v1 = st->v;
            rk4(m, st->s, t, dt, &x1, &v1);
            double theta = 1.0;
            if (!zeroInStep(m, st->s, t, dt, st->x, st->v, x1, v1, &theta)) {
                st->x = x1;
                st->v = v1;
                track(x1);
                t = tb;
                continue;
            }
            // Bisection on the sub-step: s v > 0 at lo, not at hi.
            double lo = 0.0;
            double hi = theta;
            for (int k = 0; k < 200; ++k) {
                const double mid = 0.5 * (lo + hi);
                if (!(mid > lo && mid < hi)) {
                    break;
                }
                double xm = st->x;
                double vm = st->v;
                rk4(m, st->s, t, mid * dt, &xm, &vm);
                (st->s * vm > 0.0 ? lo : hi) = mid;
            }
            double xz = st->x;
            double vz = st->v;
            rk4(m, st->s, t, hi * dt, &xz, &vz);
            const double tz = hi == 1.0 ? tb : t + hi * dt;
            st->x = xz;
            st->v = 0.0;
            track(xz);
            const double f = force(m, tz, xz);
            const bool unstarted = tz - slideStart <= unstartedSlide * period;
            if (std::fabs(f) <= m.Ys || unstarted) {
                st->s = 0;
                r->stops += unstarted && fromRest ? 0 : 1;
                if (unstarted) {
                    r->stuckTime += tb - tz; // held by rounding: no breakaway before tb
                    t = tb;
                    continue;
                }
            } else {
                st->s = f > 0.0 ? 1 : -1; // turns, or slides on, with the force
                slideStart = tz;
                fromRest = false;
            }
            t = tz;
        }
    }
}

bool repeats(const State& now, const State& before, double amplitude, double z) {
    if (now.s != before.s) {
        return false;
    }
    const double scale = std::fmax(amplitude, DBL_MIN);
    return std::fabs(now.x - before.x) <= plainRepeatTolerance * scale &&
           std::fabs(now.v - before.v) <= plainRepeatTolerance * scale * std::fmax(z, 1.0);
}

} // namespace

PlainSteady plainSteadyState(double zeta, double z, double Yf, double Yc, int stepsPerPeriod,
                             long maxPeriods) {
    return plainSteadyStateStatic(zeta, z, Yf, Yc, Yc, stepsPerPeriod, maxPeriods);
}

PlainSteady plainSteadyStateStatic(double zeta, double z, double Yf, double Yc, double Ys,
                                   int stepsPerPeriod, long maxPeriods) {
    const double nan = std::nan("");
    PlainSteady result = {nan, 0, nan, false, false, 0};
    if (!(zeta >= 0.0) || !(z > 0.0) || !(Yc >= 0.0) || !std::isfinite(zeta) || !std::isfinite(z) ||
        !std::isfinite(Yf) || !std::isfinite(Yc) || !std::isfinite(Ys) || stepsPerPeriod < 4) {
        return result;
    }
    const Model m = {zeta, z, Yf, Yc, std::fmax(Yc, Ys)};
    const double period = 2.0 * pi / z;
    State st = {0.0, 0.0, 0}; // at rest: |Yf sin 0 - 0| <= Yc
    for (long k = 1; k <= maxPeriods; ++k) {
        const State before = st;
        PeriodRecord r;
        runPeriod(m, period, stepsPerPeriod, &st, &r);
        result.periods = k;
        if (r.incomplete) {
            break;
        }
        if (r.stuckForGood) {
            return {0.0, 0, 1.0, true, true, k};
        }
        result.amplitude = 0.5 * (r.xMax - r.xMin);
        result.stopsPerCycle = r.stops;
        result.stuckFraction = r.stuckTime / period;
        if (repeats(st, before, result.amplitude, z)) {
            result.settled = true;
            break;
        }
    }
    return result;
}

} // namespace plain
