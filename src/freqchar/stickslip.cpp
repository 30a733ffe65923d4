// Stick-slip vibration at one frequency ratio. In tau = omega0*t the mass rests at
// x = +A from forcing phase beta to theta + beta, breaks away with
// A = Yf sin(theta + beta) + Ys (Ys = max(Yc, Ys) the static band), moves for
// T = (pi - theta)/z under
//   x'' + 2 zeta x' + x = Yf sin(z tau + theta + beta) + Yc,
// and must arrive at x = -A, x' = 0, where the mirrored rest begins.
//
// The end conditions. With phi = theta + beta, the forced response P, Q and the free
// motion h of x'' + 2 zeta x' + x = 0, the slide is
//   x(u) = P sin(z u + phi) + Q cos(z u + phi) + Yc + h(u),
//   h(0) = (Yf - P) sin(phi) - Q cos(phi) + (Ys - Yc),   h'(0) = -z (P cos(phi) - Q sin(phi)).
// sin(phi) and cos(phi) are linear in c = cos(beta) and s = sin(beta), so
// h = c hA + s hB + (Ys - Yc) hC: hA and hB the free motions of the code's basis, hC
// the one from (1, 0). Arriving at x(T) = -A, x'(T) = 0, where z T + phi = pi + beta:
//   X1 c + X2 s = g1 = -(Ys + Yc) - (Ys - Yc) hC(T),
//   V1 c + V2 s = g2 = -(Ys - Yc) hC'(T),
// X1 = Yf sin(theta) - Q + hA(T), X2 = Yf cos(theta) - P + hB(T), V1 = -z P + hA'(T),
// V2 = z Q + hB'(T). Unknowns: the dwell angle theta and the stop phase beta. For a
// theta the system gives c = a/g and s = b/g, with g = X1 V2 - X2 V1,
// a = g1 V2 - X2 g2 and b = X1 g2 - V1 g1; a beta exists exactly when the residual
// a^2 + b^2 - g^2 vanishes, and the scan looks for those thetas. At Ys = Yc the terms
// in hC vanish, g1 = -2 Yc, g2 = 0, and that is the equal-friction residual, which is
// then evaluated by its own unchanged arithmetic. Degenerate cases: g = 0 (the two
// conditions dependent) and overflow give not-a-number or infinite terms, which the
// candidate test rejects; Yf = 0 leaves no forcing and no zero.
//
// The search evaluates the residual millions of times per rebuild of the chart, so it
// takes three shortcuts that leave every result bit for bit unchanged: the trial
// angles of the scan are the same at every ratio, so their sines and cosines come from
// a table; the two basis motions share exp(-zeta T), cos(wd T) and sin(wd T); and the
// stop phase (an arc tangent) is formed only at a zero.
#include "freqchar/stickslip.h"

#include <cmath>

#include "analysis/curve.h"

#include "common/damping.h"

namespace fv {

namespace {

constexpr double scanStart = 0.01;           // first trial dwell angle [rad]
constexpr double scanStep = 0.01;            // dwell-angle step of the scan [rad]
constexpr double scanEnd = 2.94159265358979; // pi - 0.2: last admissible angle [rad]
constexpr int scanTableSize = 300;           // room for the 294 trial angles
constexpr double zeroTolerance = 1e-6;       // |f/f0| below this is a zero
constexpr double minAmplitude = 0.001;       // smallest stick-slip amplitude kept [m]
// Regula falsi ends here without a zero. Ordinary brackets on the chart grid need
// up to about 44,000 iterations, so the bound sits far above them.
constexpr long maxRefinements = 10000000;
// With a static band above Yc: the slide's velocity is tested at this many points, and
// the force during the rest may pass the band by this much of |Yf| + Ys (the rounding
// of the stop phase) [-].
constexpr int slideSamples = 256;
constexpr double restMargin = 1e-9;
// Dwell angles the scan's table leaves out, tried with a static band above Yc only: a
// short rest before a breakaway that Ys - Yc pushes on, and a long one; not beyond
// pi - 0.01, where the slide shrinks to nothing and the residual with it [rad].
constexpr double shortestDwell = 0.0;
constexpr double longestDwell = 3.13159265358979;

// Trial angles of the scan, built by the same repeated addition as the scan itself,
// with their sines and cosines.
struct ScanTable {
    int count;
    double theta[scanTableSize];
    double sinTheta[scanTableSize];
    double cosTheta[scanTableSize];
};

ScanTable buildScanTable() {
    ScanTable t = {};
    double theta = scanStart;
    while (t.count < scanTableSize && (t.count == 0 || theta <= scanEnd)) {
        t.theta[t.count] = theta;
        t.sinTheta[t.count] = std::sin(theta);
        t.cosTheta[t.count] = std::cos(theta);
        t.count = t.count + 1;
        theta = theta + scanStep;
    }
    return t;
}

// Built once, on first use; the initialisation is thread-safe.
const ScanTable& scanTable() {
    static const ScanTable table = buildScanTable();
    return table;
}

// a, b and g of the end conditions at one dwell angle.
struct EndTerms {
    double a;
    double b;
    double g;
};

// exp(x), with exp(0) = 1 taken without the call (the undamped member of the family).
double expOrOne(double x) {
    return x == 0.0 ? 1.0 : std::exp(x);
}

// The transcendental part of the free motion at T, by regime: exp(-zeta T), cos(wd T)
// and sin(wd T) below critical damping, exp(-s1 T) and exp(-s2 T) above it,
// exp(-zeta T) at it.
struct Decay {
    double p;
    double q;
    double r;
};

enum class Regime { under, critical, over };

// A ratio that is not a number is carried through the critical forms.
Regime regimeOf(double zeta) {
    switch (dampingRegime(zeta)) {
    case DampingRegime::underdamped:
        return Regime::under;
    case DampingRegime::overdamped:
        return Regime::over;
    case DampingRegime::critical:
    case DampingRegime::undefined:
        break;
    }
    return Regime::critical;
}

Decay decayAt(const StickSlipSetup& s, Regime regime, double zeta, double T) {
    switch (regime) {
    case Regime::under:
        return {expOrOne(-zeta * T), std::cos(s.wd * T), std::sin(s.wd * T)};
    case Regime::over:
        return {std::exp(-s.s1 * T), std::exp(-s.s2 * T), 0.0};
    case Regime::critical:
        break;
    }
    return {std::exp(-zeta * T), 0.0, 0.0};
}

// Start values of the two basis motions for dwell angle theta (sine st, cosine ct):
// displacements A0, B0 and the forced-response velocities W1, W2 they must cancel.
struct BasisStart {
    double A0, B0, W1, W2;
};

BasisStart basisStart(const StickSlipSetup& s, double Yf, double st, double ct) {
    return {Yf * st - s.P * st - s.Q * ct, Yf * ct - s.P * ct + s.Q * st,
            s.z * (s.P * ct - s.Q * st), -s.z * (s.P * st + s.Q * ct)};
}

// The free motion from (1, 0) at T and its slope: what a static band above Yc adds.
struct UnitEnd {
    double h;
    double dh;
};

// a, b and g from the ends (hA, h'A) and (hB, h'B) of the two free motions, and with a
// static band above Yc the end `unit` of the free motion from (1, 0).
// Lifted: a static band above Yc (a template parameter, so that the scan's loop over
// its angles holds no branch at equal friction).
template <bool Lifted>
inline EndTerms endTermsFrom(const StickSlipSetup& s, const ClosedFormSystem& sys, double st,
                             double ct, double hA, double dhA, double hB, double dhB,
                             UnitEnd unit) {
    const double X1 = sys.Yf * st - s.Q + hA;
    const double X2 = sys.Yf * ct - s.P + hB;
    const double V1 = -s.z * s.P + dhA;
    const double V2 = s.z * s.Q + dhB;
    if (!Lifted) {
        return {-2.0 * sys.Yc * V2, 2.0 * sys.Yc * V1, X1 * V2 - V1 * X2};
    }
    const double band = staticBand(sys);
    const double lift = band - sys.Yc;
    const double g1 = -(band + sys.Yc) - lift * unit.h;
    const double g2 = -lift * unit.dh;
    return {g1 * V2 - X2 * g2, X1 * g2 - V1 * g1, X1 * V2 - V1 * X2};
}

inline bool lifted(const ClosedFormSystem& sys) {
    return staticBand(sys) > sys.Yc;
}

// The end conditions X1 cos(beta) + X2 sin(beta) = -2 Yc and
// V1 cos(beta) + V2 sin(beta) = 0 are linear in cos(beta) and sin(beta); they are
// consistent exactly when a^2 + b^2 = g^2. The free motion of x'' + 2 zeta x' + x = 0
// from (h0, -w) is evaluated at T in each regime. Division by zero and overflow are
// not trapped: the candidate test rejects what is not a number.
// The three share one signature so that the scan can take any of them; only the
// critical motion needs T itself.
template <bool Lifted>
inline EndTerms underdampedTerms(const StickSlipSetup& s, const ClosedFormSystem& sys, double /*T*/,
                                 double st, double ct, Decay d) {
    const double zeta = sys.zeta;
    const BasisStart b = basisStart(s, sys.Yf, st, ct);
    const double uA = (zeta * b.A0 - b.W1) / s.wd;
    const double uB = (zeta * b.B0 - b.W2) / s.wd;
    const double decay = zeta * d.q + s.wd * d.r;
    const double turn = s.wd * d.q - zeta * d.r;
    UnitEnd unit = {0.0, 0.0};
    if (Lifted) {
        unit = {d.p * (d.q + zeta / s.wd * d.r), -d.p * d.r / s.wd};
    }
    return endTermsFrom<Lifted>(s, sys, st, ct, d.p * (b.A0 * d.q + uA * d.r),
                                d.p * (-decay * b.A0 + turn * uA), d.p * (b.B0 * d.q + uB * d.r),
                                d.p * (-decay * b.B0 + turn * uB), unit);
}

template <bool Lifted>
inline EndTerms overdampedTerms(const StickSlipSetup& s, const ClosedFormSystem& sys, double /*T*/,
                                double st, double ct, Decay d) {
    const BasisStart b = basisStart(s, sys.Yf, st, ct);
    const double cA1 = (s.s2 * b.A0 - b.W1) / (s.s2 - s.s1);
    const double cA2 = (s.s1 * b.A0 - b.W1) / (s.s1 - s.s2);
    const double cB1 = (s.s2 * b.B0 - b.W2) / (s.s2 - s.s1);
    const double cB2 = (s.s1 * b.B0 - b.W2) / (s.s1 - s.s2);
    UnitEnd unit = {0.0, 0.0};
    if (Lifted) {
        const double c1 = s.s2 / (s.s2 - s.s1);
        const double c2 = s.s1 / (s.s1 - s.s2);
        unit = {c1 * d.p + c2 * d.q, -(s.s1 * c1 * d.p + s.s2 * c2 * d.q)};
    }
    return endTermsFrom<Lifted>(s, sys, st, ct, cA1 * d.p + cA2 * d.q,
                                -(s.s1 * cA1 * d.p + s.s2 * cA2 * d.q), cB1 * d.p + cB2 * d.q,
                                -(s.s1 * cB1 * d.p + s.s2 * cB2 * d.q), unit);
}

template <bool Lifted>
inline EndTerms criticalTerms(const StickSlipSetup& s, const ClosedFormSystem& sys, double T,
                              double st, double ct, Decay d) {
    const double zeta = sys.zeta;
    const BasisStart b = basisStart(s, sys.Yf, st, ct);
    const double cA = zeta * b.A0 - b.W1;
    const double cB = zeta * b.B0 - b.W2;
    UnitEnd unit = {0.0, 0.0};
    if (Lifted) {
        unit = {(1.0 + zeta * T) * d.p, (-zeta + (1.0 - zeta * T) * zeta) * d.p};
    }
    return endTermsFrom<Lifted>(s, sys, st, ct, (b.A0 + cA * T) * d.p,
                                (-zeta * b.A0 + (1.0 - zeta * T) * cA) * d.p, (b.B0 + cB * T) * d.p,
                                (-zeta * b.B0 + (1.0 - zeta * T) * cB) * d.p, unit);
}

double motionTime(const StickSlipSetup& s, double theta) {
    return s.halfPeriod - theta / s.z;
}

EndTerms endTerms(const StickSlipSetup& s, const ClosedFormSystem& sys, double theta, double st,
                  double ct) {
    const double T = motionTime(s, theta);
    const Regime regime = regimeOf(sys.zeta);
    const Decay d = decayAt(s, regime, sys.zeta, T);
    const bool lift = lifted(sys);
    switch (regime) {
    case Regime::under:
        return lift ? underdampedTerms<true>(s, sys, T, st, ct, d)
                    : underdampedTerms<false>(s, sys, T, st, ct, d);
    case Regime::over:
        return lift ? overdampedTerms<true>(s, sys, T, st, ct, d)
                    : overdampedTerms<false>(s, sys, T, st, ct, d);
    case Regime::critical:
        break;
    }
    return lift ? criticalTerms<true>(s, sys, T, st, ct, d)
                : criticalTerms<false>(s, sys, T, st, ct, d);
}

double residualOf(const EndTerms& t) {
    return t.a * t.a + t.b * t.b - t.g * t.g;
}

// Residuals at every trial angle of the scan, f[k] for scan.theta[k]: the same values
// as endTerms gives one by one, computed in passes over the whole table so that the
// arithmetic after the transcendental functions runs on vectors.
void scanResiduals(const StickSlipSetup& s, const ClosedFormSystem& sys, const ScanTable& scan,
                   double* f) {
    const int n = scan.count;
    const Regime regime = regimeOf(sys.zeta);
    double T[scanTableSize];
    double p[scanTableSize];
    double q[scanTableSize];
    double r[scanTableSize];
    for (int k = 0; k < n; ++k) {
        T[k] = motionTime(s, scan.theta[k]);
    }
    for (int k = 0; k < n; ++k) {
        const Decay d = decayAt(s, regime, sys.zeta, T[k]);
        p[k] = d.p;
        q[k] = d.q;
        r[k] = d.r;
    }
    auto fill = [&](auto terms) {
        for (int k = 0; k < n; ++k) {
            f[k] = residualOf(
                terms(s, sys, T[k], scan.sinTheta[k], scan.cosTheta[k], Decay{p[k], q[k], r[k]}));
        }
    };
    const bool lift = lifted(sys);
    switch (regime) {
    case Regime::under:
        lift ? fill([](auto&&... a) { return underdampedTerms<true>(a...); })
             : fill([](auto&&... a) { return underdampedTerms<false>(a...); });
        return;
    case Regime::over:
        lift ? fill([](auto&&... a) { return overdampedTerms<true>(a...); })
             : fill([](auto&&... a) { return overdampedTerms<false>(a...); });
        return;
    case Regime::critical:
        break;
    }
    lift ? fill([](auto&&... a) { return criticalTerms<true>(a...); })
         : fill([](auto&&... a) { return criticalTerms<false>(a...); });
}

double stopPhaseOf(const EndTerms& t) {
    return std::atan2(t.b / t.g, t.a / t.g);
}

// Velocity at u of the free motion of x'' + 2 zeta x' + x = 0 from (h0, w0).
double freeVelocity(const StickSlipSetup& s, double zeta, double u, double h0, double w0) {
    switch (regimeOf(zeta)) {
    case Regime::under:
        return expOrOne(-zeta * u) *
               (w0 * std::cos(s.wd * u) - (h0 + zeta * w0) / s.wd * std::sin(s.wd * u));
    case Regime::over: {
        const double c1 = (s.s2 * h0 + w0) / (s.s2 - s.s1);
        const double c2 = h0 - c1;
        return -s.s1 * c1 * std::exp(-s.s1 * u) - s.s2 * c2 * std::exp(-s.s2 * u);
    }
    case Regime::critical:
        break;
    }
    return (w0 - (w0 + h0) * u) * std::exp(-u);
}

// The slide of the candidate keeps moving back until it arrives: its velocity
//   x'(u) = z (P cos(z u + phi) - Q sin(z u + phi)) + h'(u)
// is negative at every one of slideSamples inner points of (0, T). A zero between two
// samples escapes, as a stop the closed form cannot tell from its own end.
bool slideKeepsMoving(const StickSlipSetup& s, const ClosedFormSystem& sys, double theta,
                      double beta, double A) {
    const double phi = theta + beta;
    const double T = motionTime(s, theta);
    const double h0 = A - sys.Yc - (s.P * std::sin(phi) + s.Q * std::cos(phi));
    const double w0 = -s.z * (s.P * std::cos(phi) - s.Q * std::sin(phi));
    for (int k = 1; k < slideSamples; ++k) {
        const double u = T * static_cast<double>(k) / slideSamples;
        const double w = s.z * u + phi;
        const double v =
            s.z * (s.P * std::cos(w) - s.Q * std::sin(w)) + freeVelocity(s, sys.zeta, u, h0, w0);
        if (!(v < 0.0)) {
            return false;
        }
    }
    return true;
}

// The rest of the candidate holds: the force on the mass at +A, S = Yf sin(p) - A, stays
// within the static band from the stop at p = beta to the breakaway at p = beta + theta
// (where it is -Ys by construction). S is monotone between the peaks of the sine, so the
// ends and the peaks inside are all that need testing; the breakaway end itself is not.
bool restHolds(const ClosedFormSystem& sys, double theta, double beta, double A) {
    const double band = staticBand(sys);
    const double margin = restMargin * (std::fabs(sys.Yf) + band);
    auto within = [&](double p) {
        const double S = sys.Yf * std::sin(p) - A;
        return S <= band + margin && S > -band + margin;
    };
    if (!within(beta)) {
        return false;
    }
    const double halfTurn = analysisPi;
    double peak = (std::ceil((beta - 0.5 * halfTurn) / halfTurn) + 0.5) * halfTurn;
    for (; peak < beta + theta; peak = peak + halfTurn) {
        if (peak > beta && !within(peak)) {
            return false;
        }
    }
    return true;
}

// Appends (theta, beta) when its amplitude reaches minAmplitude and, below
// resonance, its stop phase is not negative. Not-a-number never passes. With a static
// band above Yc the motion itself is tested instead of the sign of beta: the rest holds
// until the breakaway, and the slide does not stop before it arrives (such a band
// holds the mass at more velocity zeros, and the residual has more zeros that no motion
// follows). At equal friction the candidates are taken as they always were.
void testCandidate(const StickSlipSetup& s, const ClosedFormSystem& sys, double theta, double beta,
                   StickSlipCandidate* list, int* count) {
    const double z = s.z;
    const double A = sys.Yf * std::sin(theta + beta) + staticBand(sys);
    if (!(A >= minAmplitude)) {
        return;
    }
    if (lifted(sys)) {
        if (!restHolds(sys, theta, beta, A) || !slideKeepsMoving(s, sys, theta, beta, A)) {
            return;
        }
    } else if (z < 1.0 && !(beta >= 0.0)) {
        return;
    }
    if (*count < maxStickSlipCandidates) {
        list[*count] = {theta, beta};
        *count = *count + 1;
    }
}

// The state of a refinement: both ends of the bracket and their residuals.
struct Bracket {
    double thA, fA, thB, fB;
};

bool sameBracket(const Bracket& x, const Bracket& y) {
    return x.thA == y.thA && x.fA == y.fA && x.thB == y.thB && x.fB == y.fB;
}

} // namespace

// Regula falsi on [thA, thB] whose residuals fA, fB differ in sign. The tolerance
// stays relative to fB0, the residual at the scan point. Returns 1 with the zero and
// its beta, or 0 when a point or residual stops being a number or no zero can come.
//
// Each iteration is a fixed function of the bracket, so a bracket that comes back
// repeats its cycle for ever and never meets the tolerance: that happens when the
// residual is rounding noise, or when fA*fR underflows to zero and the bracket loses
// its sign change. The cycle is found by Brent's method and ends the refinement with
// the result the full iteration bound would give, only sooner.
int refineStickSlipBracket(const StickSlipSetup& s, const ClosedFormSystem& sys, double thA,
                           double fA, double thB, double fB, double* theta, double* beta,
                           long* iterations) {
    const double fB0 = fB;
    *iterations = 0;
    Bracket saved = {thA, fA, thB, fB};
    long power = 1;
    long length = 0;
    for (long k = 0; k < maxRefinements; ++k) {
        *iterations = k + 1;
        const double r = thA - fA * (thB - thA) / (fB - fA);
        const EndTerms t = endTerms(s, sys, r, std::sin(r), std::cos(r));
        const double fR = residualOf(t);
        if (std::isnan(r) || std::isnan(fR)) {
            return 0;
        }
        if (std::fabs(fR / fB0) < zeroTolerance) {
            *theta = r;
            *beta = stopPhaseOf(t);
            return 1;
        }
        if (fA * fR > 0.0) {
            thA = r;
            fA = fR;
        } else {
            thB = r;
            fB = fR;
        }
        const Bracket now = {thA, fA, thB, fB};
        if (sameBracket(now, saved)) {
            return 0;
        }
        length = length + 1;
        if (length == power) {
            saved = now;
            power = power * 2;
            length = 0;
        }
    }
    return 0;
}

StickSlipSetup stickSlipSetup(double z, const ClosedFormSystem& system) {
    const double zt = system.zeta;
    StickSlipSetup s = {};
    s.z = z;
    const double z2 = z * z;
    const double D = (1.0 - z2) * (1.0 - z2) + 4.0 * zt * zt * z2;
    s.P = (1.0 - z2) * system.Yf / D;
    s.Q = -2.0 * zt * z * system.Yf / D;
    s.halfPeriod = analysisPi / z;
    if (zt < 1.0) {
        s.wd = std::sqrt(1.0 - zt * zt);
    } else if (zt > 1.0) {
        s.s1 = zt - std::sqrt(zt * zt - 1.0);
        s.s2 = zt + std::sqrt(zt * zt - 1.0);
    }
    return s;
}

double stickSlipResidual(double z, double wd, double s1, double s2, double P, double Q,
                         double halfPeriod, double theta, const ClosedFormSystem& system,
                         double* beta) {
    const StickSlipSetup s = {z, wd, s1, s2, P, Q, halfPeriod};
    const EndTerms t = endTerms(s, system, theta, std::sin(theta), std::cos(theta));
    *beta = stopPhaseOf(t);
    return residualOf(t);
}

namespace {

// One point of the scan, reached from thA to thB (residuals fA, fB; sine and cosine of thB): a
// zero at thB itself, or one refined inside a sign change.
void scanPoint(const StickSlipSetup& s, const ClosedFormSystem& system, double thA, double fA,
               double thB, double fB, double sinB, double cosB, StickSlipCandidate* list,
               int* count) {
    if (std::fabs(fB / fA) < zeroTolerance) {
        const EndTerms tB = endTerms(s, system, thB, sinB, cosB);
        testCandidate(s, system, thB, stopPhaseOf(tB), list, count);
    } else if (fA * fB < 0.0) {
        double theta = 0.0;
        double beta = 0.0;
        long iterations = 0;
        if (refineStickSlipBracket(s, system, thA, fA, thB, fB, &theta, &beta, &iterations) == 1) {
            testCandidate(s, system, theta, beta, list, count);
        }
    }
}

double residualAt(const StickSlipSetup& s, const ClosedFormSystem& system, double theta) {
    return residualOf(endTerms(s, system, theta, std::sin(theta), std::cos(theta)));
}

} // namespace

int stickSlipCandidates(double z, const ClosedFormSystem& system, StickSlipCandidate* list) {
    const StickSlipSetup s = stickSlipSetup(z, system);
    const ScanTable& scan = scanTable();
    double f[scanTableSize] = {};
    scanResiduals(s, system, scan, f);
    int count = 0;
    if (lifted(system)) {
        scanPoint(s, system, shortestDwell, residualAt(s, system, shortestDwell), scan.theta[0],
                  f[0], scan.sinTheta[0], scan.cosTheta[0], list, &count);
    }
    double thA = scan.theta[0];
    double fA = f[0];
    for (int k = 1; k < scan.count; ++k) {
        const double thB = scan.theta[k];
        const double fB = f[k];
        scanPoint(s, system, thA, fA, thB, fB, scan.sinTheta[k], scan.cosTheta[k], list, &count);
        // The scan resumes from its own point: the refinement's ends are discarded.
        thA = thB;
        fA = fB;
    }
    const double fEnd = lifted(system) ? residualAt(s, system, longestDwell) : 0.0;
    if (fA * fEnd < 0.0) {
        double theta = 0.0;
        double beta = 0.0;
        long iterations = 0;
        if (refineStickSlipBracket(s, system, thA, fA, longestDwell, fEnd, &theta, &beta,
                                   &iterations) == 1) {
            testCandidate(s, system, theta, beta, list, &count);
        }
    }
    return count;
}

double stickSlipAmplitude(double z, const ClosedFormSystem& system, double* dwellAngle,
                          double* stopPhase) {
    StickSlipCandidate list[maxStickSlipCandidates];
    const int count = stickSlipCandidates(z, system, list);
    if (count == 0) {
        return -1.0;
    }
    // The largest amplitude wins; among equal ones the first found (smaller theta).
    double best = 0.0;
    int chosen = 0;
    for (int i = 0; i < count; ++i) {
        const double A = system.Yf * std::sin(list[i].theta + list[i].beta) + staticBand(system);
        if (A > best) {
            best = A;
            chosen = i;
        }
    }
    *dwellAngle = list[chosen].theta;
    *stopPhase = list[chosen].beta;
    return system.Yf * std::sin(list[chosen].theta + list[chosen].beta) + staticBand(system);
}

} // namespace fv
