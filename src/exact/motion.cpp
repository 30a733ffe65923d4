// Exact motion, event by event. A slide from (tau0, x0, v0) in direction s is
//   x(tau) = xp(tau) - s Yc + H(tau - tau0),
// xp the forced response to Yf sin(z tau) and H the free motion of
// x'' + 2 zeta x' + x = 0 that starts from the difference (x0 - xp + s Yc, v0 - xp'),
// in whichever of the three damping regimes zeta falls (and, for zeta = 0 at z = 1,
// with the resonant forced response). A slide ends where the velocity reaches zero;
// a stuck mass at xs breaks away where Yf sin(z tau) - xs reaches +Yc or -Yc. Both
// events are bracketed by samples no further apart than 1/32 of the faster of the
// forcing and the free oscillation, and located by TOMS 748 (Boost.Math) to machine
// precision.
#include "exact/motion.h"

#include <boost/math/tools/toms748_solve.hpp>
#include <cmath>
#include <cstdint>
#include <limits>

namespace fv {

namespace {

constexpr double twoPi = 6.283185307179586; // the exact reference uses the full double
constexpr int samplesPerCycle = 32;
constexpr std::uintmax_t maxRootIterations = 200;
constexpr int maxShrinks = 80;               // halvings towards a slide's start
constexpr long maxEventsPerPeriod = 1000000; // a safety net: real periods have a few dozen

using Policy = boost::math::policies::policy<
    boost::math::policies::domain_error<boost::math::policies::ignore_error>,
    boost::math::policies::evaluation_error<boost::math::policies::ignore_error>>;

// Root of f in [a, b], f(a) and f(b) of opposite signs or zero, to machine precision.
template <typename Function> double locate(Function f, double a, double b, double fa, double fb) {
    if (fa == 0.0) {
        return a;
    }
    if (fb == 0.0) {
        return b;
    }
    std::uintmax_t iterations = maxRootIterations;
    const boost::math::tools::eps_tolerance<double> tolerance(std::numeric_limits<double>::digits);
    const auto bracket =
        boost::math::tools::toms748_solve(f, a, b, fa, fb, tolerance, iterations, Policy());
    return bracket.first + (bracket.second - bracket.first) * 0.5;
}

// One slide: the free motion's start (h0, w0) at tau0, in direction s.
struct Slide {
    double tau0;
    double s;
    double h0;
    double w0;
};

struct Point {
    double x;
    double v;
};

// Forced response to Yf sin(z tau) and its velocity.
Point forcedResponse(const ExactSetup& e, double tau) {
    if (e.resonant) {
        const double c = std::cos(tau);
        const double sn = std::sin(tau);
        const double k = -0.5 * e.sys.Yf;
        return {k * tau * c, k * (c - tau * sn)};
    }
    const double c = std::cos(e.sys.z * tau);
    const double sn = std::sin(e.sys.z * tau);
    return {e.P * sn + e.Q * c, e.sys.z * (e.P * c - e.Q * sn)};
}

// Free motion of x'' + 2 zeta x' + x = 0 after time t from (h0, w0).
Point freeMotion(const ExactSetup& e, double t, double h0, double w0) {
    const double zeta = e.sys.zeta;
    if (e.regime < 0) {
        const double d = std::exp(-zeta * t);
        const double c = std::cos(e.wd * t);
        const double sn = std::sin(e.wd * t);
        return {d * (h0 * c + (w0 + zeta * h0) / e.wd * sn),
                d * (w0 * c - (h0 + zeta * w0) / e.wd * sn)};
    }
    if (e.regime == 0) {
        const double d = std::exp(-t);
        return {d * (h0 + (w0 + h0) * t), d * (w0 - (w0 + h0) * t)};
    }
    const double c1 = (w0 - e.r2 * h0) / (e.r1 - e.r2);
    const double c2 = (e.r1 * h0 - w0) / (e.r1 - e.r2);
    const double e1 = std::exp(e.r1 * t);
    const double e2 = std::exp(e.r2 * t);
    return {c1 * e1 + c2 * e2, e.r1 * c1 * e1 + e.r2 * c2 * e2};
}

Slide slideFrom(const ExactSetup& e, const ExactState& st) {
    const double s = static_cast<double>(static_cast<int>(st.sliding));
    const Point p = forcedResponse(e, st.tau);
    return {st.tau, s, st.x - (p.x - s * e.sys.Yc), st.v - p.v};
}

Point slideAt(const ExactSetup& e, const Slide& sl, double tau) {
    const Point p = forcedResponse(e, tau);
    const Point h = freeMotion(e, tau - sl.tau0, sl.h0, sl.w0);
    return {p.x - sl.s * e.sys.Yc + h.x, p.v + h.v};
}

// Spring and external force on a resting mass at x, over K: Yf sin(z tau) - x [m].
double restingForce(const ExactSetup& e, double tau, double x) {
    return e.sys.Yf * std::sin(e.sys.z * tau) - x;
}

// First tau in (a, end] where the slide's velocity reaches zero; false when it does
// not before end. A slide that starts at rest (a breakaway, a turn) moves in its
// direction right after a: the bracket's lower end is searched for towards a.
bool findSlideEnd(const ExactSetup& e, const Slide& sl, double a, double end, double* tauEnd) {
    auto velocity = [&](double tau) { return slideAt(e, sl, tau).v; };
    double lo = a;
    bool haveLo = sl.s * velocity(a) > 0.0;
    for (double t = a; t < end;) {
        const double tn = std::fmin(t + e.sampleStep, end);
        if (!(tn > t)) {
            return false; // the step is lost in the time's rounding: nothing more to find
        }
        const double fn = sl.s * velocity(tn);
        if (fn <= 0.0) {
            double hi = tn;
            for (int i = 0; i < maxShrinks && !haveLo; ++i) {
                const double m = a + (hi - a) * 0.5;
                if (sl.s * velocity(m) > 0.0) {
                    lo = m;
                    haveLo = true;
                } else {
                    hi = m;
                }
            }
            if (!haveLo) {
                *tauEnd = a; // the slide has no length
                return true;
            }
            *tauEnd = locate(velocity, lo, hi, velocity(lo), velocity(hi));
            return true;
        }
        lo = tn;
        haveLo = true;
        t = tn;
    }
    return false;
}

// First tau in (a, end] where a mass stuck at xs breaks away, and its direction: where
// the force reaches the friction force from within. A force a few units in the last
// place beyond it at a (a slide that could not start) is no breakaway.
bool findBreakaway(const ExactSetup& e, double xs, double a, double end, double* tauBreak,
                   Sliding* direction) {
    const double Yc = e.sys.Yc;
    auto forward = [&](double tau) { return restingForce(e, tau, xs) - Yc; };
    auto backward = [&](double tau) { return restingForce(e, tau, xs) + Yc; };
    double fa = forward(a);
    double ba = backward(a);
    for (double t = a; t < end;) {
        const double tn = std::fmin(t + e.sampleStep, end);
        if (!(tn > t)) {
            return false;
        }
        const double fn = forward(tn);
        const double bn = backward(tn);
        if (fn > 0.0 && fa <= 0.0) {
            *tauBreak = locate(forward, t, tn, fa, fn);
            *direction = Sliding::forward;
            return true;
        }
        if (bn < 0.0 && ba >= 0.0) {
            *tauBreak = locate(backward, t, tn, ba, bn);
            *direction = Sliding::backward;
            return true;
        }
        t = tn;
        fa = fn;
        ba = bn;
    }
    return false;
}

void note(PeriodRecord* r, double x) {
    r->xMin = std::fmin(r->xMin, x);
    r->xMax = std::fmax(r->xMax, x);
}

} // namespace

bool validExactSystem(const ExactSystem& sys) {
    return std::isfinite(sys.zeta) && std::isfinite(sys.z) && std::isfinite(sys.Yf) &&
           std::isfinite(sys.Yc) && sys.z > 0.0 && sys.zeta >= 0.0 && sys.Yc >= 0.0;
}

ExactSetup exactSetup(const ExactSystem& sys) {
    ExactSetup e = {};
    e.sys = sys;
    const double zeta = sys.zeta;
    const double z = sys.z;
    if (zeta < 1.0) {
        e.regime = -1;
        e.wd = std::sqrt(1.0 - zeta * zeta);
    } else if (zeta == 1.0) {
        e.regime = 0;
        e.r1 = -1.0;
        e.r2 = -1.0;
    } else {
        e.regime = 1;
        const double root = std::sqrt(zeta * zeta - 1.0);
        e.r1 = -1.0 / (zeta + root); // -zeta + root without the cancellation
        e.r2 = -(zeta + root);
    }
    e.resonant = zeta == 0.0 && z == 1.0;
    if (!e.resonant) {
        const double D = (1.0 - z * z) * (1.0 - z * z) + (2.0 * zeta * z) * (2.0 * zeta * z);
        e.P = sys.Yf * (1.0 - z * z) / D;
        e.Q = -sys.Yf * 2.0 * zeta * z / D;
    }
    e.period = twoPi / z;
    e.sampleStep = twoPi / (samplesPerCycle * std::fmax(z, 1.0));
    return e;
}

ExactState exactStart(const ExactSetup& e, double x0, double v0) {
    if (v0 != 0.0) {
        return {0.0, x0, v0, v0 > 0.0 ? Sliding::forward : Sliding::backward};
    }
    const double S = restingForce(e, 0.0, x0);
    if (std::fabs(S) <= e.sys.Yc) {
        return {0.0, x0, 0.0, Sliding::stuck};
    }
    return {0.0, x0, 0.0, S > 0.0 ? Sliding::forward : Sliding::backward};
}

void exactPeriod(const ExactSetup& e, ExactState* st, PeriodRecord* r) {
    *r = {st->x, st->x, 0, 0.0, false, false};
    const double end = e.period;
    bool brokeAway = false; // the slide under way began at a breakaway
    for (long events = 0; st->tau < end && events < maxEventsPerPeriod; ++events) {
        if (st->sliding == Sliding::stuck) {
            if (std::fabs(e.sys.Yf) + std::fabs(st->x) <= e.sys.Yc) {
                r->stuckForGood = true; // the largest force there is cannot move it
                r->stuckTime += end - st->tau;
                st->tau = end;
                break;
            }
            double tauBreak = end;
            Sliding direction = Sliding::stuck;
            if (!findBreakaway(e, st->x, st->tau, end, &tauBreak, &direction)) {
                tauBreak = end;
            }
            r->stuckTime += tauBreak - st->tau;
            st->tau = tauBreak;
            st->sliding = direction;
            brokeAway = true;
            continue;
        }
        const Slide sl = slideFrom(e, *st);
        double tauEnd = end;
        if (!findSlideEnd(e, sl, st->tau, end, &tauEnd)) {
            const Point p = slideAt(e, sl, end);
            *st = {end, p.x, p.v, st->sliding};
            note(r, p.x);
            break;
        }
        if (tauEnd == st->tau && st->v == 0.0) {
            // The slide cannot start: the force is back within the friction force at once
            // (it exceeded it by rounding alone). The mass stays, or comes, to rest.
            r->stops = r->stops + (brokeAway ? 0 : 1);
            *st = {tauEnd, st->x, 0.0, Sliding::stuck};
            brokeAway = false;
            continue;
        }
        brokeAway = false;
        const Point p = slideAt(e, sl, tauEnd);
        note(r, p.x);
        const double S = restingForce(e, tauEnd, p.x);
        Sliding next = S > 0.0 ? Sliding::forward : Sliding::backward;
        if (e.sys.Yc > 0.0 && std::fabs(S) <= e.sys.Yc) {
            next = Sliding::stuck;
            r->stops = r->stops + 1;
        } else if (S == 0.0) {
            next = sl.s > 0.0 ? Sliding::backward : Sliding::forward;
        }
        *st = {tauEnd, p.x, 0.0, next};
    }
    r->incomplete = st->tau < end;
    st->tau = 0.0;
}

} // namespace fv
