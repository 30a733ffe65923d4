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

// Newton step on P(x) = x for a mass stuck at the start of the period: the map acts on
// the position alone. A mass stuck at x at tau = 0 must stay within the static band
// there, |x| <= max(Yc, Ys).
bool stuckNewtonStep(const ExactSetup& e, const ExactState& s, const ExactState& p,
                     const PeriodRecord& rp, double amplitude, ExactState* next, long* periods) {
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
    if (!std::isfinite(dx) || !(std::fabs(s.x + dx) <= staticBand(e.sys))) {
        return false;
    }
    *next = {0.0, s.x + dx, 0.0, Sliding::stuck};
    return true;
}

// Newton step on P(s) = s from s, whose image p = P(s) ended period record rp: the
// estimate of the fixed point in *next. False when the neighbouring periods move
// differently (another direction or other stops) or the step is not defined.
bool newtonStep(const ExactSetup& e, const ExactState& s, const ExactState& p,
                const PeriodRecord& rp, double amplitude, ExactState* next, long* periods) {
    if (s.sliding == Sliding::stuck) {
        return stuckNewtonStep(e, s, p, rp, amplitude, next, periods);
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
    const double direction = static_cast<double>(static_cast<int>(s.sliding));
    if (!std::isfinite(dx) || !std::isfinite(dv) || !((s.v + dv) * direction > 0.0)) {
        return false; // no step that would turn the mass round
    }
    *next = {0.0, s.x + dx, s.v + dv, s.sliding};
    return true;
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

// Undamped at resonance below Yc/|Yf| = pi/4: no periodic motion without stops exists,
// as the friction force is then Yc throughout. A motion that no longer stops grows: its
// turning points move ever further out of the static band. (Its growth per period is
// soon below the repeat tolerance of its amplitude, so it must not be taken for
// settled.)
bool growsWithoutStops(const ExactSystem& sys, const ExactSteady& result) {
    return sys.zeta == 0.0 && sys.z == 1.0 && 4.0 * sys.Yc < fullPi * std::fabs(sys.Yf) &&
           !result.atRest && result.stopsPerCycle == 0;
}

// Period after period from state, until it repeats, the mass is at rest for good, the
// work runs out or periodLimit periods have passed; *last is the state it ended at.
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
            return {0.0, 0, 1.0, true, true, k, false};
        }
        result.amplitude = 0.5 * (r.xMax - r.xMin);
        result.stopsPerCycle = r.stops;
        result.stuckFraction = r.stuckTime / e.period;
        if (repeats(e, state, before, result.amplitude)) {
            result.converged = true;
            break;
        }
        const double gap = distance(state, before, result.amplitude, sys.z);
        if (lastJump == k - 1 && lastJump > 0 && !(gap < distanceBeforeJump)) {
            // The jump did not bring the states closer: undone, and the next one waits
            // twice as long as the last (the map may be far from linear here).
            state = beforeJump;
            failedJumps = failedJumps + 1;
            nextJump =
                failedJumps > maxFailedJumps ? periodLimit + 1 : k + (jumpInterval << failedJumps);
            continue;
        }
        if (k >= nextJump && state.sliding == before.sliding && gap < lastDistance) {
            ExactState next;
            if (newtonStep(e, before, state, r, result.amplitude, &next, &k)) {
                beforeJump = state;
                distanceBeforeJump = gap;
                state = next;
                lastJump = k;
                nextJump = k + jumpInterval;
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
