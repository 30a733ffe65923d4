// Exact motion, event by event. A slide from (tau0, x0, v0) in direction s is
//   x(tau) = xp(tau) - s Yc + H(tau - tau0),
// xp the forced response to Yf sin(z tau) and H the free motion of
// x'' + 2 zeta x' + x = 0 that starts from the difference (x0 - xp + s Yc, v0 - xp'),
// in whichever of the three damping regimes zeta falls (and, for zeta = 0 at z = 1,
// with the resonant forced response).
//
// No event may escape, however short it is, so neither kind is found by sampling:
// - A stuck mass at xs breaks away where Yf sin(z tau) - xs reaches +Ys or -Ys (Ys the
//   static band, at least Yc). With xs fixed that is a condition on the forcing phase
//   alone, solved by an arcsine. Above Yc the slide then starts with the force Ys - Yc
//   beyond the sliding friction; at Ys = Yc with none.
// - A slide ends at the first zero of its velocity. The velocity is a sinusoid plus a
//   damped free motion, and every derivative of both has a cheap bound over any
//   interval. An interval whose end values and slopes leave no room for a zero under
//   the bound on the second derivative is passed over; any other is halved until a
//   sign change is bracketed where the velocity can only fall, or the zero is
//   excluded. TOMS 748 (Boost.Math) refines the bracket to machine precision. A touch
//   (the velocity reaching zero within rounding without changing sign) is a stop only
//   where the mass then sticks.
//
// Near resonance with little damping the forced response xp can be a million times the
// force and the friction, and x = xp + H the small difference of two such terms, with
// bounds as large as they are. There a slide is written instead as
//   x(tau0 + u) = -s Yc + F(u) + D(u),
// F the free motion from (x0 + s Yc, v0) and D the response to the forcing from rest at
// tau0, whose differences of nearly equal sinusoids are formed from z - wd directly.
// Both are of the size of the motion and the force, and so are their bounds: D^(m) is
// the free motion from (D^(m)(0), D^(m+1)(0)) plus the response to the m-th derivative
// of the forcing from rest, at most |Yf| z^m times the integral of |g|, g the impulse
// response (|g(t)| <= min(t, exp(-zeta t) / wd); g >= 0 with integral 1 at zeta >= 1).
#include "exact/motion.h"

#include <boost/math/tools/toms748_solve.hpp>
#include <cmath>
#include <cstdint>
#include <limits>

#include "common/constants.h"

namespace fv {

namespace {

constexpr double firstStepCycles = 0.125; // first trial interval of a slide [faster cycles]
constexpr std::uintmax_t maxRootIterations = 200;
constexpr long maxEventsPerPeriod = 1000000;       // safety nets: real periods have a few
constexpr long maxEvaluationsPerPeriod = 10000000; // dozen events and a few thousand evaluations
constexpr double boundMargin = 1.0 + 1e-12;        // covers the rounding of the bounds themselves
constexpr int boundedOrders = 5;                   // free-motion derivatives 0..4 have bounds
constexpr double eps = std::numeric_limits<double>::epsilon();
// Rounding of a velocity, relative to the size of the terms it sums: a few dozen units
// in the last place. A slide slower than that is not told from rest.
constexpr double velocityRounding = 32.0 * eps;
// A forced response beyond this many times |Yf| + Yc has its slides split (see above);
// below it the plain sum is as good. No ordinary damping comes near: zeta >= 0.005 keeps
// the forced response below 100 |Yf| [-].
constexpr double largeForcedRatio = 100.0;

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

// A free motion's start (h0, w0), with what the bounds of its derivatives need: h^(m)(0)
// and, underdamped, wd times the coefficient of the sine in
// h^(m)(u) = exp(-zeta u) (a_m cos(wd u) + b_m sin(wd u)).
struct FreeStart {
    double h0;
    double w0;
    double start[boundedOrders];
    double sine[boundedOrders];
};

// One slide from tau0 in direction s: x = xp - s Yc + H, H the free motion `free`. Split
// (ExactSetup::split): x = -s Yc + F + D, F the free motion `own`, D the response to the
// forcing from rest at tau0, whose m-th derivative is the free motion forced[m] plus a
// forced part; xp0 and xp0d the forced response and its slope at tau0, and scale the
// size of the terms D and D' sum.
struct Slide {
    double tau0;
    double s;
    FreeStart free;
    FreeStart own;
    FreeStart forced[boundedOrders];
    double xp0;
    double xp0d;
    double scale;
};

struct Point {
    double x;
    double v;
};

// Displacement, velocity and acceleration.
struct Motion {
    double x;
    double v;
    double a;
};

// Forced response to Yf sin(z tau) and its first two derivatives.
Motion forcedResponse(const ExactSetup& e, double tau) {
    if (e.resonant) {
        const double c = std::cos(tau);
        const double sn = std::sin(tau);
        const double k = -0.5 * e.sys.Yf;
        return {k * tau * c, k * (c - tau * sn), k * (-2.0 * sn - tau * c)};
    }
    const double c = std::cos(e.sys.z * tau);
    const double sn = std::sin(e.sys.z * tau);
    const double x = e.P * sn + e.Q * c;
    return {x, e.sys.z * (e.P * c - e.Q * sn), -(e.sys.z * e.sys.z) * x};
}

// Free motion of x'' + 2 zeta x' + x = 0 after time t from (h0, w0).
Point freeMotion(const ExactSetup& e, double t, double h0, double w0) {
    const double zeta = e.sys.zeta;
    if (e.regime == DampingRegime::underdamped) {
        const double d = std::exp(-zeta * t);
        const double c = std::cos(e.wd * t);
        const double sn = std::sin(e.wd * t);
        return {d * (h0 * c + (w0 + zeta * h0) / e.wd * sn),
                d * (w0 * c - (h0 + zeta * w0) / e.wd * sn)};
    }
    if (e.regime == DampingRegime::critical) {
        const double d = std::exp(-t);
        return {d * (h0 + (w0 + h0) * t), d * (w0 - (w0 + h0) * t)};
    }
    const double c1 = (w0 - e.r2 * h0) / (e.r1 - e.r2);
    const double c2 = (e.r1 * h0 - w0) / (e.r1 - e.r2);
    const double e1 = std::exp(e.r1 * t);
    const double e2 = std::exp(e.r2 * t);
    return {c1 * e1 + c2 * e2, e.r1 * c1 * e1 + e.r2 * c2 * e2};
}

FreeStart freeStart(const ExactSetup& e, double h0, double w0) {
    FreeStart f = {h0, w0, {}, {}};
    const double zeta = e.sys.zeta;
    f.start[0] = h0;
    f.start[1] = w0;
    f.sine[0] = w0 + zeta * h0;
    for (int m = 0; m + 1 < boundedOrders; ++m) {
        if (m + 2 < boundedOrders) {
            f.start[m + 2] = -2.0 * zeta * f.start[m + 1] - f.start[m];
        }
        f.sine[m + 1] = -zeta * f.sine[m] - e.wd * e.wd * f.start[m];
    }
    return f;
}

// The split parts of a slide from (x0, v0) at tau0: F's start, and D^(m)(0) from
// D(0) = D'(0) = 0 and D^(m+2) = phi^(m) - 2 zeta D^(m+1) - D^(m), phi the forcing.
void splitSlide(const ExactSetup& e, const Motion& p, double x0, double v0, Slide* sl) {
    const double zeta = e.sys.zeta;
    const double z = e.sys.z;
    const double sn = std::sin(z * sl->tau0);
    const double c = std::cos(z * sl->tau0);
    const double phi[boundedOrders] = {e.sys.Yf * sn, e.sys.Yf * z * c, -e.sys.Yf * z * z * sn,
                                       -e.sys.Yf * z * z * z * c, e.sys.Yf * z * z * z * z * sn};
    double D[boundedOrders + 1] = {0.0, 0.0};
    for (int m = 0; m + 2 <= boundedOrders; ++m) {
        D[m + 2] = phi[m] - 2.0 * zeta * D[m + 1] - D[m];
    }
    sl->own = freeStart(e, x0 + sl->s * e.sys.Yc, v0);
    for (int m = 0; m < boundedOrders; ++m) {
        sl->forced[m] = freeStart(e, D[m], D[m + 1]);
    }
    sl->xp0 = p.x;
    sl->xp0d = p.v;
    sl->scale = (std::fabs(p.x) + std::fabs(p.v)) *
                (std::fabs(e.detuning) + std::fabs(e.mistune) + 2.0 * zeta) * (1.0 + z) / e.wd;
}

// The slide from st into *sl. Its split parts are filled only for a split slide, the
// only one that reads them: an event of an ordinary slide neither clears nor copies them.
void slideFrom(const ExactSetup& e, const ExactState& st, Slide* sl) {
    const double s = static_cast<double>(static_cast<int>(st.sliding));
    const Motion p = forcedResponse(e, st.tau);
    sl->tau0 = st.tau;
    sl->s = s;
    sl->free = freeStart(e, st.x - (p.x - s * e.sys.Yc), st.v - p.v);
    if (e.split) {
        splitSlide(e, p, st.x, st.v, sl);
    }
}

// D and D' at u: xp(tau0 + u) less the free motion from (xp0, xp0d). With
// E = exp(-zeta u) and 1 - E = -expm1(-zeta u), every difference of nearly equal terms
// (cos(z u) - cos(wd u), sin(z u) - sin(wd u)) is formed as a product with z - wd.
Point forcedFromRest(const ExactSetup& e, const Slide& sl, double u) {
    const double zeta = e.sys.zeta;
    const double z = e.sys.z;
    const double wd = e.wd;
    const double E = std::exp(-zeta * u);
    const double gone = -std::expm1(-zeta * u);
    const double cw = std::cos(wd * u);
    const double swr = std::sin(wd * u) / wd;
    const double half = 0.5 * (z + wd) * u;
    const double beat = std::sin(0.5 * e.detuning * u);
    const double cosDiff = -2.0 * std::sin(half) * beat; // cos(z u) - cos(wd u)
    const double sinDiff = 2.0 * std::cos(half) * beat;  // sin(z u) - sin(wd u)
    // sin(z u) / z - sin(wd u) / wd and z sin(z u) - sin(wd u) / wd:
    const double sinOverZ = (sinDiff - e.detuning * swr) / z;
    const double sinTimesZ = z * sinDiff + e.mistune * swr;
    const double c = cosDiff + gone * cw;     // cos(z u) - E cos(wd u)
    const double s1 = sinOverZ + gone * swr;  // sin(z u) / z - E sin(wd u) / wd
    const double s2 = sinTimesZ + gone * swr; // z sin(z u) - E sin(wd u) / wd
    return {sl.xp0 * c + sl.xp0d * s1 - zeta * sl.xp0 * E * swr,
            sl.xp0d * c - sl.xp0 * s2 + zeta * sl.xp0d * E * swr};
}

Motion slideMotion(const ExactSetup& e, const Slide& sl, double tau) {
    if (e.split) {
        const double u = tau - sl.tau0;
        const Point f = freeMotion(e, u, sl.own.h0, sl.own.w0);
        const Point d = forcedFromRest(e, sl, u);
        const double x = -sl.s * e.sys.Yc + f.x + d.x;
        const double v = f.v + d.v;
        const double force = e.sys.Yf * std::sin(e.sys.z * tau);
        return {x, v, force - sl.s * e.sys.Yc - x - 2.0 * e.sys.zeta * v};
    }
    const Motion p = forcedResponse(e, tau);
    const Point h = freeMotion(e, tau - sl.tau0, sl.free.h0, sl.free.w0);
    const double freeAcceleration = -2.0 * e.sys.zeta * h.v - h.x;
    return {p.x - sl.s * e.sys.Yc + h.x, p.v + h.v, p.a + freeAcceleration};
}

Point slideAt(const ExactSetup& e, const Slide& sl, double tau) {
    const Motion m = slideMotion(e, sl, tau);
    return {m.x, m.v};
}

// m-th power, m small.
double power(double x, int m) {
    double p = 1.0;
    for (int i = 0; i < m; ++i) {
        p = p * x;
    }
    return p;
}

// A bound of |xp^(m)| over tau in [0, tau2].
double forcedBound(const ExactSetup& e, int m, double tau2) {
    if (e.resonant) {
        return 0.5 * std::fabs(e.sys.Yf) * (tau2 + m); // xp = k tau cos(tau)
    }
    return power(e.sys.z, m) * e.forcedAmplitude;
}

// A bound of |H^(m)(u)| over u in [u1, u2], 0 <= u1 <= u2. The sine term is bounded by
// |sin(w u)| <= min(1, w u), and near critical damping the difference of the modes by
// 1 - exp(-d u) <= min(1, d u), so that the bounds stay sharp where the regimes meet
// (wd or r1 - r2 near zero).
double freeBound(const ExactSetup& e, const FreeStart& f, int m, double u1, double u2) {
    if (e.regime == DampingRegime::underdamped) {
        return std::exp(-e.sys.zeta * u1) *
               (std::fabs(f.start[m]) + std::fabs(f.sine[m]) * std::fmin(1.0 / e.wd, u2));
    }
    if (e.regime == DampingRegime::critical) {
        // H^(m)(u) = (-1)^m (A - m B + B u) exp(-u), A = h0, B = w0 + h0.
        const double B = f.w0 + f.h0;
        return std::exp(-u1) * (std::fabs(f.h0 - m * B) + std::fabs(B) * u2);
    }
    // H = c1 exp(r1 u) + c2 exp(r2 u): each mode decays at its own rate, but c1 and c2
    // grow without bound as r1 - r2 goes to zero; then H^(m) = exp(r1 u) (H^(m)(0) -
    // c2 r2^m (1 - exp(-(r1 - r2) u))) is the sharper bound.
    const double gap = e.r1 - e.r2;
    const double fast = std::fabs(e.r1 * f.h0 - f.w0) * power(std::fabs(e.r2), m);
    const double slow = std::fabs(f.w0 - e.r2 * f.h0) * power(std::fabs(e.r1), m);
    const double split = (slow * std::exp(e.r1 * u1) + fast * std::exp(e.r2 * u1)) / gap;
    const double joint =
        std::exp(e.r1 * u1) * (std::fabs(f.start[m]) + fast * std::fmin(1.0 / gap, u2));
    return std::fmin(split, joint);
}

// A bound of the integral of |g| over [0, u], g the impulse response of the free motion.
double impulseIntegralBound(const ExactSetup& e, double u) {
    const double rising = 0.5 * u * u; // |g(t)| <= t
    if (e.regime != DampingRegime::underdamped) {
        return std::fmin(rising, 1.0);
    }
    const double decaying = e.sys.zeta > 0.0 ? 1.0 / (e.sys.zeta * e.wd) : INFINITY;
    return std::fmin(rising, std::fmin(u / e.wd, decaying));
}

// A bound of |D^(m)(u)| over u in [u1, u2] (split slides).
double fromRestBound(const ExactSetup& e, const Slide& sl, int m, double u1, double u2) {
    return freeBound(e, sl.forced[m], 0, u1, u2) +
           std::fabs(e.sys.Yf) * power(e.sys.z, m) * impulseIntegralBound(e, u2);
}

// A bound of |f^(n)| over [t1, t2], f = s x' the velocity in the slide's direction; for a
// split slide also through F + D, whichever is sharper.
double slideBound(const ExactSetup& e, const Slide& sl, int n, double t1, double t2) {
    const double u1 = t1 - sl.tau0;
    const double u2 = t2 - sl.tau0;
    double bound = forcedBound(e, n + 1, t2) + freeBound(e, sl.free, n + 1, u1, u2);
    if (e.split) {
        bound = std::fmin(bound, freeBound(e, sl.own, n + 1, u1, u2) +
                                     fromRestBound(e, sl, n + 1, u1, u2));
    }
    return boundMargin * bound;
}

// Spring and external force on a resting mass at x, over K: Yf sin(z tau) - x [m].
double restingForce(const ExactSetup& e, double tau, double x) {
    return e.sys.Yf * std::sin(e.sys.z * tau) - x;
}

// The velocity in the slide's direction, f = s x', and its slope f' = s x''.
struct Sample {
    double t;
    double f;
    double d;
};

Sample sampleAt(const ExactSetup& e, const Slide& sl, double tau) {
    const Motion m = slideMotion(e, sl, tau);
    return {tau, sl.s * m.v, sl.s * m.a};
}

// How far rounding may take the velocity from its value at tau: it sums terms as large
// as the forced and the free velocity (split: F' and the terms of D').
double velocityNoise(const ExactSetup& e, const Slide& sl, double tau) {
    const double u = tau - sl.tau0;
    if (e.split) {
        return velocityRounding * (freeBound(e, sl.own, 1, u, u) + std::fabs(sl.own.w0) +
                                   sl.scale * (1.0 + u) + std::fabs(e.sys.Yf));
    }
    return velocityRounding *
           (forcedBound(e, 1, tau) + freeBound(e, sl.free, 1, u, u) + std::fabs(sl.free.w0));
}

// No zero of f in [lo.t, hi.t]: f > 0 at both ends, and the parabolas that the bound M
// on |f''| allows from each end stay above zero up to the middle.
bool staysPositive(const Sample& lo, const Sample& hi, double M) {
    const double w = hi.t - lo.t;
    const double bend = 0.125 * M * w * w;
    return lo.f > 0.0 && hi.f > 0.0 && lo.f + 0.5 * w * lo.d - bend > 0.0 &&
           hi.f - 0.5 * w * hi.d - bend > 0.0;
}

// f only falls in [lo.t, hi.t]: the largest slope the bound M on |f''| allows there,
// (lo.d + hi.d + M w) / 2, is below zero. A sign change there is the only zero.
bool onlyFalls(const Sample& lo, const Sample& hi, double M) {
    return lo.d + hi.d + M * (hi.t - lo.t) < 0.0;
}

// Where a slide from rest at a is under way. Its velocity starts at zero; with d and j
// the first two derivatives of f there and M3 a bound on the third over [a, a + w],
//   f(a + u) >= u q(u),   q(u) = d + j u / 2 - M3 u^2 / 6,
// so f > 0 wherever q > 0. d is the force beyond the friction force, j its rise; at a
// breakaway both may be zero up to rounding. Where q is nowhere positive in the
// interval the force does not carry the mass out and the slide cannot start (false).
// A first positive point of q above zero (d below zero by rounding) lies within
// rounding of a.
bool slideStart(const ExactSetup& e, const Slide& sl, const Sample& at, double w, double* t1) {
    const Motion m = slideMotion(e, sl, at.t);
    const double rise = e.sys.Yf * e.sys.z * std::cos(e.sys.z * at.t); // the force's slope
    const double j = sl.s * (rise - 2.0 * e.sys.zeta * m.a - m.v);
    const double d = at.d;
    const double A = slideBound(e, sl, 3, at.t, at.t + w) / 6.0;
    const double B = 0.5 * j;
    if (!(A > 0.0)) {
        *t1 = at.t + 0.5 * w;
        return d > 0.0 || j > 0.0;
    }
    const double discriminant = B * B + 4.0 * A * d;
    if (!(discriminant > 0.0)) {
        return false;
    }
    const double root = std::sqrt(discriminant);
    const double uHi = B >= 0.0 ? (B + root) / (2.0 * A) : -2.0 * d / (B - root);
    const double uLo = -d / (A * uHi); // the product of the roots is -d / A
    // The search goes on from where the bound u q(u) is largest (near 2/3 of uHi), so
    // that the velocity there stands clear of its rounding.
    const double reach = std::fmin(w, uHi * (2.0 / 3.0));
    if (!(uHi > 0.0) || !(uLo < reach)) {
        return false;
    }
    *t1 = at.t + reach;
    return *t1 > at.t;
}

// A touch: the velocity comes to zero within rounding without changing sign, where the
// force S is the sliding friction s Yc. The mass stops there only if it then sticks:
// the force is within the static band and, where that band is the sliding one, turns
// back (s S' <= 0); a force that keeps rising at the band's edge carries it on. A
// static band above Yc holds the mass whichever way the force goes on.
bool sticksAtTouch(const ExactSetup& e, const Slide& sl, double tau) {
    const Motion m = slideMotion(e, sl, tau);
    const double S = restingForce(e, tau, m.x);
    const double rise = e.sys.Yf * e.sys.z * std::cos(e.sys.z * tau) - m.v;
    const double band = staticBand(e.sys);
    return std::fabs(S) <= band && (sl.s * rise <= 0.0 || band > e.sys.Yc);
}

enum class SlideEnd {
    found,       // the velocity reaches zero at *tauEnd
    none,        // not before the end of the period
    cannotStart, // a slide from rest that the force does not carry out
    lost,        // the motion is not a finite number, or the search ran out of work
};

// First tau in (a, end] where the slide's velocity reaches zero.
SlideEnd findSlideEnd(const ExactSetup& e, const Slide& sl, double a, double end, long* evaluations,
                      double* tauEnd) {
    auto velocity = [&](double tau) { return slideAt(e, sl, tau).v; };
    double step = std::fmin(firstStepCycles * e.fasterCycle, end - a);
    Sample lo = sampleAt(e, sl, a);
    if (!(lo.f > velocityNoise(e, sl, a))) {
        double t1 = a;
        if (!slideStart(e, sl, lo, step, &t1)) {
            return SlideEnd::cannotStart;
        }
        lo = sampleAt(e, sl, t1);
        if (!(lo.f > velocityNoise(e, sl, t1))) {
            return SlideEnd::cannotStart; // a slide lost in rounding is none
        }
    }
    while (lo.t < end) {
        *evaluations = *evaluations + 1;
        if (*evaluations > maxEvaluationsPerPeriod) {
            return SlideEnd::lost;
        }
        const double t2 = std::fmin(lo.t + step, end);
        const Sample hi = sampleAt(e, sl, t2);
        const double M = slideBound(e, sl, 2, lo.t, t2);
        if (std::isnan(hi.f) || std::isnan(hi.d) || !std::isfinite(M)) {
            return SlideEnd::lost;
        }
        const double mid = lo.t + 0.5 * (t2 - lo.t);
        const bool finest = !(mid > lo.t && mid < t2);
        if (!(hi.f > 0.0)) {
            if (finest || onlyFalls(lo, hi, M)) {
                *tauEnd = locate(velocity, lo.t, t2, sl.s * lo.f, sl.s * hi.f);
                return SlideEnd::found;
            }
            step = 0.5 * (t2 - lo.t);
            continue;
        }
        if (staysPositive(lo, hi, M)) {
            lo = hi;
            step = 2.0 * step;
            continue;
        }
        if (finest) {
            if (sticksAtTouch(e, sl, t2)) {
                *tauEnd = t2;
                return SlideEnd::found;
            }
            lo = hi;
            step = 2.0 * step;
            continue;
        }
        step = 0.5 * (t2 - lo.t);
    }
    return SlideEnd::none;
}

// Earliest phase at which sin rises through c, |c| < 1 (at asin(c) + 2 pi k), from
// phase `from` on. A crossing within `slack` before `from` is one at `from` when
// includeFrom; otherwise a crossing must lie more than slack after it.
double risingCrossing(double c, double from, bool includeFrom, double slack) {
    const double base = std::asin(c);
    double theta = base + std::ceil((from - base) / fullTwoPi) * fullTwoPi;
    if (includeFrom) {
        if (theta - fullTwoPi >= from - slack) {
            theta = theta - fullTwoPi;
        }
        return std::fmax(theta, from);
    }
    if (theta <= from + slack) {
        theta = theta + fullTwoPi;
    }
    return theta;
}

// First tau in [a, end] where a mass stuck at xs breaks away, and its direction. With
// A = |Yf|, theta = z tau (+ pi where Yf < 0) and Ys the static band, the force
// A sin(theta) - xs reaches +Ys where sin(theta) rises through (xs + Ys) / A, and -Ys
// where sin(theta + pi) rises through (Ys - xs) / A. A crossing needs |c| < 1: at c >= 1 the force
// never gets there, at c <= -1 it never comes from within. A crossing at a itself (the mass came to
// rest where the force was already turning it) counts only when includeStart; after a slide that
// could not start it is the one just tried.
bool findBreakaway(const ExactSetup& e, double xs, double a, double end, bool includeStart,
                   double* tauBreak, Sliding* direction) {
    const double A = std::fabs(e.sys.Yf);
    if (!(A > 0.0)) {
        return false;
    }
    const double shift = e.sys.Yf < 0.0 ? fullPi : 0.0;
    const double phase = e.sys.z * a + shift;
    const double band = staticBand(e.sys);
    const double c[2] = {(xs + band) / A, (band - xs) / A};
    const double turn[2] = {0.0, fullPi};
    const Sliding ways[2] = {Sliding::forward, Sliding::backward};
    bool found = false;
    for (int k = 0; k < 2; ++k) {
        if (!(std::fabs(c[k]) < 1.0)) {
            continue;
        }
        // The crossing's phase is as good as the phase and the arcsine near |c| = 1.
        const double slack =
            8.0 * eps * (std::fabs(phase) + fullTwoPi) + 4.0 * eps / std::sqrt(1.0 - c[k] * c[k]);
        const double theta = risingCrossing(c[k], phase + turn[k], includeStart, slack);
        const double tau = std::fmax(a, (theta - turn[k] - shift) / e.sys.z);
        if (tau <= end && (!found || tau < *tauBreak)) {
            *tauBreak = tau;
            *direction = ways[k];
            found = true;
        }
    }
    return found;
}

// The stretch from state to tauEnd, where the pieces are wanted.
void record(std::vector<ExactPiece>* pieces, const ExactState& state, double tauEnd) {
    if (pieces != nullptr) {
        pieces->push_back({state, tauEnd});
    }
}

void note(PeriodRecord* r, double x) {
    r->xMin = std::fmin(r->xMin, x);
    r->xMax = std::fmax(r->xMax, x);
}

} // namespace

bool validExactSystem(const ExactSystem& sys) {
    return std::isfinite(sys.zeta) && std::isfinite(sys.z) && std::isfinite(sys.Yf) &&
           std::isfinite(sys.Yc) && std::isfinite(sys.Ys) && sys.z > 0.0 && sys.zeta >= 0.0 &&
           sys.Yc >= 0.0 && sys.Ys >= 0.0;
}

ExactSetup exactSetup(const ExactSystem& sys) {
    ExactSetup e = {};
    e.sys = sys;
    const double zeta = sys.zeta;
    const double z = sys.z;
    e.regime = dampingRegime(zeta);
    if (e.regime == DampingRegime::underdamped) {
        e.wd = std::sqrt(1.0 - zeta * zeta);
    } else if (e.regime == DampingRegime::critical) {
        e.r1 = -1.0;
        e.r2 = -1.0;
    } else {
        e.regime = DampingRegime::overdamped; // not a number: refused before any motion
        const double root = std::sqrt(zeta * zeta - 1.0);
        e.r1 = -1.0 / (zeta + root); // -zeta + root without the cancellation
        e.r2 = -(zeta + root);
    }
    e.resonant = zeta == 0.0 && z == 1.0;
    if (!e.resonant) {
        const double D = (1.0 - z * z) * (1.0 - z * z) + (2.0 * zeta * z) * (2.0 * zeta * z);
        e.P = sys.Yf * (1.0 - z * z) / D;
        e.Q = -sys.Yf * 2.0 * zeta * z / D;
        e.forcedAmplitude = std::hypot(e.P, e.Q);
    }
    e.period = fullTwoPi / z;
    e.fasterCycle = fullTwoPi / std::fmax(z, 1.0);
    e.split = e.regime == DampingRegime::underdamped && !e.resonant &&
              e.forcedAmplitude > largeForcedRatio * (std::fabs(sys.Yf) + sys.Yc);
    if (e.split) {
        const double below = zeta * zeta / (1.0 + e.wd); // 1 - wd
        e.detuning = (z - 1.0) + below;
        e.mistune = (z - 1.0) * e.wd - below;
    }
    return e;
}

ExactState exactStart(const ExactSetup& e, double x0, double v0) {
    if (v0 != 0.0) {
        return {0.0, x0, v0, v0 > 0.0 ? Sliding::forward : Sliding::backward};
    }
    const double S = restingForce(e, 0.0, x0);
    if (std::fabs(S) <= staticBand(e.sys)) {
        return {0.0, x0, 0.0, Sliding::stuck};
    }
    return {0.0, x0, 0.0, S > 0.0 ? Sliding::forward : Sliding::backward};
}

ExactState exactPieceAt(const ExactSetup& e, const ExactPiece& piece, double tau) {
    const ExactState& from = piece.start;
    if (from.sliding == Sliding::stuck) {
        return {tau, from.x, 0.0, Sliding::stuck};
    }
    Slide sl;
    slideFrom(e, from, &sl);
    const Point p = slideAt(e, sl, tau);
    return {tau, p.x, p.v, from.sliding};
}

void exactFreeMotion(const ExactSetup& e, double t, double h0, double w0, double* h, double* w) {
    const Point p = freeMotion(e, t, h0, w0);
    *h = p.x;
    *w = p.v;
}

void exactPeriod(const ExactSetup& e, ExactState* st, PeriodRecord* r,
                 std::vector<ExactPiece>* pieces) {
    *r = {st->x, st->x, 0, 0.0, false, false, 0};
    const double end = e.period;
    const double band = staticBand(e.sys);
    bool brokeAway = false;   // the slide under way began at a breakaway
    bool startFailed = false; // the mass rests where a slide could not start
    for (long events = 0; st->tau < end && events < maxEventsPerPeriod; ++events) {
        if (st->sliding == Sliding::stuck) {
            if (std::fabs(e.sys.Yf) + std::fabs(st->x) <= band) {
                record(pieces, *st, end);
                r->stuckForGood = true; // the largest force there is cannot move it
                r->stuckTime += end - st->tau;
                st->tau = end;
                break;
            }
            double tauBreak = end;
            Sliding direction = Sliding::stuck;
            if (!findBreakaway(e, st->x, st->tau, end, !startFailed, &tauBreak, &direction)) {
                tauBreak = end;
                direction = Sliding::stuck;
            }
            record(pieces, *st, tauBreak);
            r->stuckTime += tauBreak - st->tau;
            st->tau = tauBreak;
            st->sliding = direction;
            brokeAway = true;
            startFailed = false;
            continue;
        }
        Slide sl;
        slideFrom(e, *st, &sl);
        double tauEnd = end;
        const SlideEnd outcome = findSlideEnd(e, sl, st->tau, end, &r->evaluations, &tauEnd);
        if (outcome == SlideEnd::lost) {
            break;
        }
        if (outcome == SlideEnd::none) {
            record(pieces, *st, end);
            const Point p = slideAt(e, sl, end);
            *st = {end, p.x, p.v, st->sliding};
            note(r, p.x);
            break;
        }
        if (outcome == SlideEnd::cannotStart) {
            // The force is not beyond the friction force but by rounding: the mass stays,
            // or comes, to rest.
            r->stops = r->stops + (brokeAway ? 0 : 1);
            *st = {st->tau, st->x, 0.0, Sliding::stuck};
            brokeAway = false;
            startFailed = true;
            continue;
        }
        brokeAway = false;
        record(pieces, *st, tauEnd);
        const Point p = slideAt(e, sl, tauEnd);
        note(r, p.x);
        const double S = restingForce(e, tauEnd, p.x);
        Sliding next = S > 0.0 ? Sliding::forward : Sliding::backward;
        if (band > 0.0 && std::fabs(S) <= band) {
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
