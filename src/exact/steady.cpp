// The exact steady state. Degenerate systems are answered first: undefined ones with
// a not-a-number amplitude, the undamped one without friction (which never settles)
// at once. After every forcing period the state at its start is compared with the
// one a period before; when they agree within the tolerance the last period is the
// steady motion and its record gives the amplitude, the stops and the time stuck.
//
// Where little damps the motion (zeta near 0, friction alone taking energy out, or a
// mass that barely breaks away, Yc/Yf near 1) the states approach their limit slowly.
// While they visibly close in on it, with the same stops every period, a Newton step
// on the period map P (its derivative from neighbouring periods: of the position and
// velocity of a mass sliding through the start of the period, of the position alone
// of one stuck there) jumps close to the fixed point P(s) = s; the integration then
// goes on from there, and only a state that repeats over a whole integrated period
// counts. A jump that moves the states apart is undone and not tried again. A motion
// far smaller than the system's forces repeats only to within the rounding of its
// positions, and that is when it counts as repeated.
//
// A repeat is the steady state only where the fixed point is near. With the period
// map's contraction rho the states close a part 1 - rho of their distance to it each
// period, so the last state is about change * rho / (1 - rho) from it. Where the last
// changes (without a jump between) shrink by at least half each period that is below
// the change, which is within the tolerance; where a Newton step found the map's
// derivative J, the changes to come sum to J (I - J)^-1 times the last. Elsewhere (rho
// near 1, as with little damping near resonance, or nothing to tell it) a Newton step
// with the derivative to second order gives the distance; above the tolerance the state
// moves by that step and the period is integrated again. Near rho = 1 the rounding of a
// period's end state moves the fixed point by that rounding over 1 - rho, and no repeat
// can be told more closely than that.
//
// Undamped at resonance, multiplying the equation by sin(tau) and integrating over a
// period shows that a periodic motion needs pi |Yf| <= the integral of f sin(tau), f the
// friction force: Yc while the mass slides, the holding force, up to the static band
// Ys, while it sticks. So pi |Yf| <= 4 max(Yc, Ys): beyond that the forcing feeds the
// motion more than friction can take, and it grows without bound. With Ys above Yc
// and pi |Yf| between 4 Yc and 4 Ys a motion without stops still grows, but one that
// sticks may be periodic (or at rest for good); the integration tells, and a motion that
// has ceased to stop there grows. A motion
// without stops that settles only over many thousands of periods (friction alone
// damping it, near resonance) is started once more from the closed form of the
// continuous steady motion, which the integration then checks period by period.
#include "exact/steady.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "analysis/continuous.h"
#include "common/constants.h"

namespace fv {

namespace {

constexpr long firstJump = 8;           // periods before the first Newton step: the start settles
constexpr long jumpInterval = 8;        // periods between Newton steps
constexpr int maxFailedJumps = 6;       // jumps undone before none is tried again
constexpr double derivativeStep = 1e-6; // relative step of the period map's derivative
// Rounding of a position, relative to the size of the terms it sums [-].
constexpr double positionRounding = 16.0 * DBL_EPSILON;
// The smallest step of the period map's derivative, relative to the same size: well
// clear of that rounding, so that a derivative near 1 (a slow approach) keeps its
// distance from 1 [-].
constexpr double derivativeFloor = 1e-10;
// Forcing periods a start from the closed form may take to repeat: it is within the
// closed form's rounding of the steady state, which a Newton step or two removes.
constexpr long closedFormPeriods = 64;
// Relative step of the period map's derivative to second order, which confirms a repeat:
// near the cube root of the rounding, where the truncation (~h^2) and the rounding
// (~eps/h) of the difference meet. Near rho = 1 - 1e-7 it gives 1 - rho to a part in
// about a thousand, so that each Newton step gains three digits [-].
constexpr double confirmStep = 6e-6;
// The largest contraction per period, estimated from the changes, that bounds the
// distance to the fixed point by the last change: rho / (1 - rho) <= 1 [-].
constexpr double trustedContraction = 0.5;
// Newton steps one confirmation takes at most (each gains about three digits), and
// periods before the next may start where one ended unconfirmed.
constexpr int confirmSteps = 4;
constexpr long confirmInterval = 8;
// The largest contraction per period for which the derivative of a Newton step (forward
// differences of relative step derivativeStep) tells the distance still to go: 1 - rho
// is then known to about 1e-4 of itself [-].
constexpr double derivedContraction = 0.99;
// Rounding of a period's end state, relative to the larger of the amplitude and the
// system's size: a few units in the last place, as the corrections of repeated Newton
// steps near rho = 1 show [-].
constexpr double mapRounding = 4.0 * DBL_EPSILON;
// Rounding of pi |Yf| = 4 Yc, each side formed from rounded values [-].
constexpr double balanceRounding = 4.0 * DBL_EPSILON;

// The size of the terms a position sums: the forced response, the force, the friction
// (a split slide sums terms of the force's size over the period instead).
double systemSize(const ExactSetup& e) {
    if (e.split) {
        return std::fabs(e.sys.Yf) * (1.0 + e.period) + e.sys.Yc;
    }
    return e.forcedAmplitude + std::fabs(e.sys.Yf) + e.sys.Yc;
}

// Distance between two period-start states, relative to the amplitude (the velocity to
// the amplitude times the faster of z and 1).
double distance(const ExactState& a, const ExactState& b, double amplitude, double z) {
    const double scale = std::fmax(amplitude, DBL_MIN);
    return std::fmax(std::fabs(a.x - b.x) / scale,
                     std::fabs(a.v - b.v) / (scale * std::fmax(z, 1.0)));
}

// The period map's derivative J = [[xx, xv], [vx, vv]] (of the position and velocity at
// the start of the next period by those at the start of this one), as a Newton step
// found it, with the stops of its period.
struct MapDerivative {
    double xx, xv, vx, vv;
    int stops;
};

// The contraction of the period map per period near its fixed point: the spectral
// radius of J, max |lambda| over the roots of
//   lambda^2 - (xx + vv) lambda + (xx vv - xv vx) = 0,
// of modulus sqrt(det) where they are complex.
double spectralRadius(const MapDerivative& j) {
    const double half = 0.5 * (j.xx + j.vv);
    const double det = j.xx * j.vv - j.xv * j.vx;
    const double disc = half * half - det;
    if (disc < 0.0) {
        return std::sqrt(det);
    }
    return std::fabs(half) + std::sqrt(disc);
}

// Newton step on P(x) = x for a mass stuck at the start of the period: the map acts on
// the position alone. A mass stuck at x at tau = 0 must stay within the static band
// there, |x| <= max(Yc, Ys). The map's derivative in *j.
bool stuckNewtonStep(const ExactSetup& e, const ExactState& s, const ExactState& p,
                     const PeriodRecord& rp, double amplitude, ExactState* next, MapDerivative* j,
                     long* periods) {
    const double hx = std::fmax(derivativeStep * std::fmax(amplitude, std::fabs(s.x)),
                                derivativeFloor * systemSize(e));
    ExactState px = s;
    px.x = s.x + hx;
    PeriodRecord rx;
    exactPeriod(e, &px, &rx);
    *periods = *periods + 1;
    if (px.sliding != Sliding::stuck || rx.stops != rp.stops || rx.incomplete) {
        return false;
    }
    const double dx = (s.x - p.x) / ((px.x - p.x) / hx - 1.0);
    *j = {(px.x - p.x) / hx, 0.0, 0.0, 0.0, rp.stops};
    if (!std::isfinite(dx) || !(std::fabs(s.x + dx) <= staticBand(e.sys))) {
        return false;
    }
    *next = {0.0, s.x + dx, 0.0, Sliding::stuck};
    return true;
}

// Newton step on P(s) = s from s, whose image p = P(s) ended period record rp: the
// estimate of the fixed point in *next, the map's derivative in *j. False when the
// neighbouring periods move differently (another direction or other stops) or the step
// is not defined.
bool newtonStep(const ExactSetup& e, const ExactState& s, const ExactState& p,
                const PeriodRecord& rp, double amplitude, ExactState* next, MapDerivative* j,
                long* periods) {
    if (s.sliding == Sliding::stuck) {
        return stuckNewtonStep(e, s, p, rp, amplitude, next, j, periods);
    }
    const double floor = derivativeFloor * systemSize(e);
    const double hx = std::fmax(derivativeStep * std::fmax(amplitude, std::fabs(s.x)), floor);
    const double hv = std::fmax(
        derivativeStep * std::fmax(amplitude * std::fmax(e.sys.z, 1.0), std::fabs(s.v)), floor);
    ExactState px = s;
    px.x = s.x + hx;
    ExactState pv = s;
    pv.v = s.v + hv;
    PeriodRecord rx;
    PeriodRecord rv;
    exactPeriod(e, &px, &rx);
    exactPeriod(e, &pv, &rv);
    *periods = *periods + 2;
    if (px.sliding != p.sliding || pv.sliding != p.sliding || rx.stops != rp.stops ||
        rv.stops != rp.stops || rx.incomplete || rv.incomplete) {
        return false;
    }
    // (J - I) d = s - P(s), J the period map's derivative at s.
    const double a = (px.x - p.x) / hx - 1.0;
    const double b = (pv.x - p.x) / hv;
    const double c = (px.v - p.v) / hx;
    const double d = (pv.v - p.v) / hv - 1.0;
    const double det = a * d - b * c;
    const double fx = s.x - p.x;
    const double fv = s.v - p.v;
    const double dx = (d * fx - b * fv) / det;
    const double dv = (a * fv - c * fx) / det;
    *j = {a + 1.0, b, c, d + 1.0, rp.stops};
    const double direction = static_cast<double>(static_cast<int>(s.sliding));
    if (!std::isfinite(dx) || !std::isfinite(dv) || !((s.v + dv) * direction > 0.0)) {
        return false; // no step that would turn the mass round
    }
    *next = {0.0, s.x + dx, s.v + dv, s.sliding};
    return true;
}

// A change of the period-start state.
struct Shift {
    double x, v;
};

// The size of a change in the units of the amplitude [m]: the velocity over the faster
// of z and 1, as the repeat tolerance weighs it.
double shiftSize(const Shift& d, double z) {
    return std::fmax(std::fabs(d.x), std::fabs(d.v) / std::fmax(z, 1.0));
}

// The tolerance of a state's distance to the steady one [m]: relative to the amplitude,
// or the rounding of positions summed from the forced response, the friction and the
// force, below which a motion much smaller than those cannot be told.
double toleranceScale(const ExactSetup& e, double amplitude) {
    return std::fmax(amplitude * steadyRepeatTolerance, positionRounding * systemSize(e));
}

// The contraction of the period map per period from the lengths of the consecutive
// changes up to now (earlier[1] the one before, earlier[0] the one before that): the
// larger of their ratios, of one where only two are known. Infinite where none before is
// known (the first period, or one just after a jump) or the one before is zero.
double contraction(double now, const double earlier[2]) {
    if (!std::isfinite(earlier[1]) || !(earlier[1] > 0.0)) {
        return INFINITY;
    }
    const double last = now / earlier[1];
    return std::isfinite(earlier[0]) && earlier[0] > 0.0 ? std::fmax(last, earlier[1] / earlier[0])
                                                         : last;
}

// The distance of P(s) to the fixed point from the change d = P(s) - s and the map's
// derivative J there: the changes to come are J d, J^2 d, ..., which sum to
//   J (I - J)^-1 d,
// as shiftSize. Infinite where J is not known for a period with these stops, and where
// it contracts so slowly (spectral radius above derivedContraction) that its forward
// differences do not tell I - J.
double derivedDistance(const MapDerivative& j, int stops, const Shift& d, double z) {
    if (j.stops != stops || !(spectralRadius(j) <= derivedContraction)) {
        return INFINITY;
    }
    const double det = (1.0 - j.xx) * (1.0 - j.vv) - j.xv * j.vx;
    const double wx = ((1.0 - j.vv) * d.x + j.xv * d.v) / det;
    const double wv = (j.vx * d.x + (1.0 - j.xx) * d.v) / det;
    const double distance = shiftSize({j.xx * wx + j.xv * wv, j.vx * wx + j.vv * wv}, z);
    return std::isfinite(distance) ? distance : INFINITY;
}

// The periods and closed-form evaluations a confirmation adds to the count.
struct Work {
    long* periods;
    long* evaluations;
};

// P(s) of a neighbour s of a state whose image p ended period record rp, in *image;
// false where the neighbour moves otherwise: another direction at the end, other stops,
// or a period without end.
bool neighbourImage(const ExactSetup& e, ExactState s, const ExactState& p, const PeriodRecord& rp,
                    ExactState* image, Work work) {
    PeriodRecord r;
    exactPeriod(e, &s, &r);
    *work.periods = *work.periods + 1;
    *work.evaluations = *work.evaluations + r.evaluations;
    *image = s;
    return s.sliding == p.sliding && r.stops == rp.stops && !r.incomplete;
}

// The period map's derivative along one coordinate of s (position or velocity), with
// P(s) = p, to second order in the step h:
//   central   (P(s + h) - P(s - h)) / 2h                where s - h moves as s does,
//   one-sided (4 P(s + h) - P(s + 2h) - 3 P(s)) / 2h    else: h leads away from the
//                                                        velocity 0, near which it is.
// False where a neighbour moves otherwise.
bool mapDerivative(const ExactSetup& e, const ExactState& s, const ExactState& p,
                   const PeriodRecord& rp, double ExactState::*coordinate, double h, bool central,
                   Shift* column, Work work) {
    ExactState a = s;
    a.*coordinate = s.*coordinate + h;
    const double step = a.*coordinate - s.*coordinate; // the step as represented
    ExactState b = s;
    b.*coordinate = central ? s.*coordinate - step : s.*coordinate + 2.0 * step;
    ExactState pa;
    ExactState pb;
    if (!neighbourImage(e, a, p, rp, &pa, work) || !neighbourImage(e, b, p, rp, &pb, work)) {
        return false;
    }
    if (central) {
        const double span = a.*coordinate - b.*coordinate;
        *column = {(pa.x - pb.x) / span, (pa.v - pb.v) / span};
    } else {
        *column = {(4.0 * pa.x - pb.x - 3.0 * p.x) / (2.0 * step),
                   (4.0 * pa.v - pb.v - 3.0 * p.v) / (2.0 * step)};
    }
    return true;
}

// The Newton correction d of s towards the fixed point of the period map, p = P(s),
// and the part of the distance that rounding leaves unknown:
//   (J - I) d = s - P(s),  J = dP/ds to second order (mapDerivative);
// an end state rounded by e moves d by (J - I)^-1 e, which near rho = 1 is far more
// than e. On the position alone for a mass stuck at the start of the period (its map
// acts on that alone). False where a neighbour moves otherwise or d is not defined.
struct Correction {
    Shift d;
    double noise; // (J - I)^-1 applied to the rounding of an end state [m], as shiftSize
};

bool secondOrderCorrection(const ExactSetup& e, const ExactState& s, const ExactState& p,
                           const PeriodRecord& rp, double amplitude, Correction* out, Work work) {
    const double floor = derivativeFloor * systemSize(e);
    const double rounding = mapRounding * std::fmax(amplitude, systemSize(e));
    const double vScale = std::fmax(e.sys.z, 1.0);
    const double hx = std::fmax(confirmStep * std::fmax(amplitude, std::fabs(s.x)), floor);
    Shift jx;
    if (!mapDerivative(e, s, p, rp, &ExactState::x, hx, true, &jx, work)) {
        return false;
    }
    if (s.sliding == Sliding::stuck) {
        out->d = {(s.x - p.x) / (jx.x - 1.0), 0.0};
        out->noise = rounding / std::fabs(jx.x - 1.0);
        return std::isfinite(out->d.x);
    }
    // The velocity's steps lead away from 0, where the friction force turns and the map
    // has a kink.
    const double direction = static_cast<double>(static_cast<int>(s.sliding));
    const double hv =
        direction * std::fmax(confirmStep * std::fmax(amplitude * vScale, std::fabs(s.v)), floor);
    Shift jv;
    if (!mapDerivative(e, s, p, rp, &ExactState::v, hv, (s.v - hv) * direction > 0.0, &jv, work)) {
        return false;
    }
    // (J - I)^-1 = [[dd, -b], [-c, a]] / det.
    const double a = jx.x - 1.0;
    const double b = jv.x;
    const double c = jx.v;
    const double dd = jv.v - 1.0;
    const double det = a * dd - b * c;
    const double fx = s.x - p.x;
    const double fv = s.v - p.v;
    out->d = {(dd * fx - b * fv) / det, (a * fv - c * fx) / det};
    const double noiseX =
        (std::fabs(dd) * rounding + std::fabs(b) * rounding * vScale) / std::fabs(det);
    const double noiseV =
        (std::fabs(c) * rounding + std::fabs(a) * rounding * vScale) / std::fabs(det);
    out->noise = std::fmax(noiseX, noiseV / vScale);
    return std::isfinite(out->d.x) && std::isfinite(out->d.v);
}

// The start s + d: sliding the way its velocity points (across 0, where the turning
// point of a slow motion lies just beside the start of the period, the fixed point may
// lie on the other side), or stuck. False for a stuck mass outside the static band and a
// velocity of exactly 0.
bool correctedStart(const ExactSetup& e, const ExactState& s, const Shift& d, ExactState* next) {
    if (s.sliding == Sliding::stuck) {
        *next = {0.0, s.x + d.x, 0.0, Sliding::stuck};
        return std::fabs(next->x) <= staticBand(e.sys);
    }
    const double v = s.v + d.v;
    *next = {0.0, s.x + d.x, v, v > 0.0 ? Sliding::forward : Sliding::backward};
    return v != 0.0;
}

// A repeat confirmed, or not, by Newton steps: the last period integrated (from start
// to end = P(start)) and the estimated distance of end to the fixed point [m].
struct Confirmation {
    bool confirmed;
    ExactState start, end;
    PeriodRecord record;
    double error;
};

// Confirms the repeat of s in p = P(s), record r: with the Newton correction d of s,
// the fixed point is near s + d and p is |p - s - d| from it. Within the tolerance the
// repeat stands; so it does, after a Newton step, within what the rounding leaves
// unknown (near rho = 1 more than the tolerance: about a unit in the last place over
// 1 - rho). Beyond, the start moves to s + d and its period is integrated, at most
// confirmSteps times; a correction that is not defined or leaves the static band, or a
// period that moves otherwise (other stops, ending another way than it started) ends it
// unconfirmed, with the last period that moved as s did.
Confirmation confirmRepeat(const ExactSetup& e, ExactState s, ExactState p, PeriodRecord r,
                           Work work) {
    const double nan = std::nan("");
    for (int step = 1;; ++step) {
        const double amplitude = 0.5 * (r.xMax - r.xMin);
        Correction c;
        if (!secondOrderCorrection(e, s, p, r, amplitude, &c, work)) {
            return {false, s, p, r, nan};
        }
        const Shift& d = c.d;
        const double error = shiftSize({p.x - s.x - d.x, p.v - s.v - d.v}, e.sys.z);
        // After a Newton step, or where the period changed the state by no more than its
        // rounding, the correction is as small as the rounding allows it to be.
        const double change = shiftSize({p.x - s.x, p.v - s.v}, e.sys.z);
        const bool rounded =
            step > 1 || change <= mapRounding * std::fmax(amplitude, systemSize(e));
        const double within = rounded ? std::fmax(toleranceScale(e, amplitude), c.noise)
                                      : toleranceScale(e, amplitude);
        if (error <= within) {
            return {true, s, p, r, error};
        }
        ExactState next;
        if (step == confirmSteps || !correctedStart(e, s, d, &next)) {
            return {false, s, p, r, nan};
        }
        ExactState q = next;
        PeriodRecord rq;
        exactPeriod(e, &q, &rq);
        *work.periods = *work.periods + 1;
        *work.evaluations = *work.evaluations + rq.evaluations;
        // Nearer the fixed point the change over a period is smaller: a step that does not
        // make it so went beyond where the map is linear.
        if (rq.incomplete || q.sliding != next.sliding || rq.stops != r.stops ||
            !(shiftSize({q.x - next.x, q.v - next.v}, e.sys.z) < change)) {
            return {false, s, p, r, nan};
        }
        s = next;
        p = q;
        r = rq;
    }
}

// The states agree within the tolerance, or within the rounding of positions summed
// from the forced response, the friction and the force: a motion much smaller than
// those can repeat no closer.
bool repeats(const ExactSetup& e, const ExactState& now, const ExactState& before,
             double amplitude) {
    if (now.sliding != before.sliding) {
        return false;
    }
    const double rounding = positionRounding * systemSize(e);
    const double scale = std::fmax(amplitude * steadyRepeatTolerance, rounding);
    return std::fabs(now.x - before.x) <= scale &&
           std::fabs(now.v - before.v) <= scale * std::fmax(e.sys.z, 1.0);
}

// The continuous steady motion at its upper turning point (x = A, x' = 0 where the
// forcing's phase is theta, the mass turning back), from the closed form, as the state
// of that moment of the period; mirrored for a negative Yf. False where it has none,
// and where a static band above Yc would hold the mass at its turning points.
bool continuousStart(const ExactSetup& e, ExactState* start) {
    const double sign = e.sys.Yf < 0.0 ? -1.0 : 1.0;
    const ClosedFormSystem closed = {e.sys.zeta, std::fabs(e.sys.Yf), e.sys.Yc, e.sys.Ys};
    double amplitude = -1.0;
    double theta = 0.0;
    if (continuousTurningPoint(e.sys.z, closed, &amplitude, &theta) != 1 || !(amplitude > 0.0) ||
        !std::isfinite(amplitude) || !std::isfinite(theta)) {
        return false;
    }
    if (staticBand(e.sys) > e.sys.Yc && !continuousTurnsAt(closed, amplitude, theta)) {
        return false;
    }
    double tau = std::fmod(theta / e.sys.z, e.period);
    if (tau < 0.0) {
        tau = tau + e.period;
    }
    if (!(tau < e.period)) {
        tau = 0.0;
    }
    *start = {tau, sign * amplitude, 0.0, sign > 0.0 ? Sliding::backward : Sliding::forward};
    return true;
}

// Undamped at resonance below max(Yc, Ys)/|Yf| = pi/4: no periodic motion exists.
bool growsWithoutBound(const ExactSystem& sys) {
    return sys.zeta == 0.0 && sys.z == 1.0 && 4.0 * staticBand(sys) < fullPi * std::fabs(sys.Yf);
}

// Undamped at resonance at max(Yc, Ys)/|Yf| = pi/4 within rounding, Ys not above Yc:
// over a period of a motion without stops the force does the work pi |Yf| A, friction
// takes 4 Yc A, and they balance at every amplitude A. No steady state is singled out,
// and the motion from rest drifts for ever (by less than the repeat tolerance per
// period, so it must not be taken for settled).
bool neutralBalance(const ExactSystem& sys) {
    const double force = fullPi * std::fabs(sys.Yf);
    return sys.zeta == 0.0 && sys.z == 1.0 && sys.Yc > 0.0 && staticBand(sys) == sys.Yc &&
           std::fabs(4.0 * sys.Yc - force) <= balanceRounding * force;
}

// Undamped at resonance below Yc/|Yf| = pi/4: no periodic motion without stops exists,
// as the friction force is then Yc throughout. A motion that no longer stops grows: its
// turning points move ever further out of the static band. (Its growth per period is
// soon below the repeat tolerance of its amplitude, so it must not be taken for
// settled.)
bool growsWithoutStops(const ExactSystem& sys, const ExactSteady& result) {
    return sys.zeta == 0.0 && sys.z == 1.0 && 4.0 * sys.Yc < fullPi * std::fabs(sys.Yf) &&
           !result.atRest && result.stopsPerCycle == 0;
}

// The amplitude, stops and time stuck of a period's record.
void takeRecord(const ExactSetup& e, const PeriodRecord& r, ExactSteady* result) {
    result->amplitude = 0.5 * (r.xMax - r.xMin);
    result->stopsPerCycle = r.stops;
    result->stuckFraction = r.stuckTime / e.period;
}

// Period after period from state, until it repeats near enough to the fixed point of
// the period map, the mass is at rest for good, the work runs out or periodLimit
// periods have passed; *last is the state it ended at (the start of the period whose
// record it gives, where it settled).
ExactSteady settle(const ExactSetup& e, ExactState state, long periodLimit, ExactState* last) {
    const double nan = std::nan("");
    const ExactSystem& sys = e.sys;
    long evaluations = 0;
    ExactSteady result = {nan, 0, nan, false, false, 0, false};
    double lastDistance = INFINITY;
    long lastJump = 0;
    long nextJump = firstJump; // no Newton step before this period
    int failedJumps = 0;
    ExactState beforeJump = state; // P(s) of the last jump, to go back to
    double distanceBeforeJump = INFINITY;
    double changes[2] = {INFINITY, INFINITY};      // lengths of the two changes before, in a row
    MapDerivative jump = {0.0, 0.0, 0.0, 0.0, -1}; // of the last jump; stops -1: none
    long nextConfirm = 0;                          // no confirmation before this period
    for (long k = 1; k <= periodLimit; ++k) {
        const ExactState before = state;
        PeriodRecord r;
        exactPeriod(e, &state, &r);
        result.periods = k;
        evaluations += r.evaluations;
        if (r.incomplete || evaluations > maxSteadyEvaluations) {
            break;
        }
        if (r.stuckForGood) {
            *last = state;
            return {0.0, 0, 1.0, true, true, k, false, 0.0};
        }
        takeRecord(e, r, &result);
        const double change = std::hypot(state.x - before.x, state.v - before.v);
        if (repeats(e, state, before, result.amplitude)) {
            const Shift d = {state.x - before.x, state.v - before.v};
            const double size = shiftSize(d, sys.z);
            const double rho = contraction(change, changes);
            const double estimate = size == 0.0 ? 0.0
                                    : rho <= trustedContraction
                                        ? size * rho / (1.0 - rho)
                                        : derivedDistance(jump, r.stops, d, sys.z);
            if (estimate <= toleranceScale(e, result.amplitude)) {
                result.converged = true;
                result.error = estimate;
                break;
            }
            if (k >= nextConfirm) {
                const Confirmation c = confirmRepeat(e, before, state, r, {&k, &evaluations});
                result.periods = k;
                if (c.confirmed) {
                    takeRecord(e, c.record, &result);
                    result.converged = true;
                    result.error = c.error;
                    state = c.start; // the period its record is of
                    break;
                }
                // Go on from the last period that moved as this one, the changes to come
                // telling the contraction.
                state = c.end;
                nextConfirm = k + confirmInterval;
                changes[0] = INFINITY;
                changes[1] = INFINITY;
                continue;
            }
            changes[0] = changes[1];
            changes[1] = change;
            continue;
        }
        changes[0] = changes[1];
        changes[1] = change;
        const double gap = distance(state, before, result.amplitude, sys.z);
        if (lastJump == k - 1 && lastJump > 0 && !(gap < distanceBeforeJump)) {
            // The jump did not bring the states closer: undone, and the next one waits
            // twice as long as the last (the map may be far from linear here).
            state = beforeJump;
            jump.stops = -1;
            failedJumps = failedJumps + 1;
            nextJump =
                failedJumps > maxFailedJumps ? periodLimit + 1 : k + (jumpInterval << failedJumps);
            changes[1] = INFINITY;
            continue;
        }
        if (k >= nextJump && state.sliding == before.sliding && gap < lastDistance) {
            ExactState next;
            MapDerivative j;
            if (newtonStep(e, before, state, r, result.amplitude, &next, &j, &k)) {
                jump = j;
                beforeJump = state;
                distanceBeforeJump = gap;
                state = next;
                lastJump = k;
                nextJump = k + jumpInterval;
                changes[1] = INFINITY;
            }
        }
        lastDistance = gap;
    }
    *last = state;
    return result;
}

// The steady state of sys (a positive ratio) from (x0, v0), its last state in *last.
ExactSteady steadyOf(const ExactSystem& sys, double x0, double v0, ExactState* last) {
    const double nan = std::nan("");
    if (!validExactSystem(sys) || !std::isfinite(x0) || !std::isfinite(v0)) {
        return {nan, 0, nan, false, false, 0, false};
    }
    if (neutralBalance(sys)) {
        return {nan, 0, nan, false, false, 0, false};
    }
    if (growsWithoutBound(sys)) {
        return {nan, 0, nan, false, false, 0, true};
    }
    if (sys.zeta == 0.0 && staticBand(sys) == 0.0) {
        // Nothing dissipates: the free oscillation the start excites never decays. The
        // periodic solution Yf / |1 - z^2| exists, but is not reached.
        return {std::fabs(sys.Yf) / std::fabs(1.0 - sys.z * sys.z), 0, 0.0, false, false, 0, false};
    }
    const ExactSetup e = exactSetup(sys);
    const double cyclesPerPeriod = e.period / e.fasterCycle;
    if (!(cyclesPerPeriod <= maxPeriodCycles)) {
        return {nan, 0, nan, false, false, 0, false};
    }
    const long periodLimit = std::min(
        maxSteadyPeriods, std::max(1L, static_cast<long>(maxSteadyCycles / cyclesPerPeriod)));
    ExactSteady result = settle(e, exactStart(e, x0, v0), periodLimit, last);
    if (growsWithoutStops(sys, result)) {
        return {nan, 0, nan, false, false, result.periods, true};
    }
    ExactState start;
    if (!result.converged && !result.atRest && result.stopsPerCycle == 0 &&
        continuousStart(e, &start)) {
        PeriodRecord r;
        exactPeriod(e, &start, &r); // on to the start of the next period
        ExactState closedLast = start;
        const ExactSteady closed =
            r.incomplete ? result : settle(e, start, closedFormPeriods, &closedLast);
        if (closed.converged && !closed.atRest && closed.stopsPerCycle == 0) {
            ExactSteady found = closed;
            found.periods = result.periods + 1 + closed.periods;
            *last = closedLast;
            return found;
        }
    }
    // From the start the radius of (x, x') grows at most by |Yf| per unit of tau: an
    // unsettled amplitude beyond that was not reached by the motion.
    const double reach =
        std::hypot(x0, v0) + std::fabs(sys.Yf) * e.period * static_cast<double>(result.periods);
    if (!result.converged && !(result.amplitude <= reach)) {
        result.amplitude = nan;
    }
    return result;
}

} // namespace

ExactSteadyOrbit exactSteadyOrbit(const ExactSystem& given, double x0, double v0) {
    ExactSteadyOrbit orbit = {given, {}, {0.0, 0.0, 0.0, Sliding::stuck}};
    if (given.z < 0.0) {
        // Yf sin(-z tau) = -Yf sin(z tau)
        orbit.sys = {given.zeta, -given.z, -given.Yf, given.Yc, given.Ys};
    }
    orbit.steady = steadyOf(orbit.sys, x0, v0, &orbit.start);
    return orbit;
}

ExactSteady exactSteadyState(const ExactSystem& sys, double x0, double v0) {
    return exactSteadyOrbit(sys, x0, v0).steady;
}

} // namespace fv
