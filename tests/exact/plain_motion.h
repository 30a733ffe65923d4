// A plain second method for the steady forced motion with Coulomb friction: fixed small
// steps of the classical Runge-Kutta scheme, with its own sticking and breakaway, period
// after period from rest until the state at the start of a period repeats. It shares
// nothing with the event-by-event closed forms it is compared with.
//
// In the time tau = omega0 t the sliding mass (direction s = +1 or -1) obeys
//   x'' + 2 zeta x' + x = Yf sin(z tau) - s Yc.
// A mass whose velocity reaches zero sticks when |Yf sin(z tau) - x| <= Ys and otherwise
// slides on in the direction of that force; a stuck mass at xs breaks away, in the
// direction of the force, when |Yf sin(z tau) - xs| exceeds Ys. Ys is the static band,
// at least Yc (equal to it unless given).
#pragma once

namespace plain {

// Steps of one forcing period and periods followed at most, by default.
constexpr int defaultStepsPerPeriod = 20000;
constexpr long defaultMaxPeriods = 4000;
// Settled: the state at the start of a period (displacement, velocity, stuck or the
// direction of sliding) repeats the one a period before within this, relative to the
// amplitude (the velocity relative to the amplitude times the faster of z and 1), or the
// mass is stuck for good (|Yf| + |x| <= Yc). Nothing looser counts: where the mass barely
// breaks away (Yc/Yf near 1) its stuck position drifts by parts in 1e8 to 1e10 per period
// for thousands of periods, so an amplitude that merely changes little from period to
// period would settle such a motion far from its limit.
constexpr double plainRepeatTolerance = 1e-10;

struct PlainSteady {
    double amplitude;     // half the peak-to-peak displacement over the last period [m]
    int stopsPerCycle;    // slides that ended stuck in the last period
    double stuckFraction; // part of the last period the mass was stuck [-]
    bool settled;         // the period-start state repeated, or the mass is at rest
    bool atRest;          // stuck where no force can move it: amplitude 0
    long periods;         // forcing periods integrated
};

// The steady state reached from rest at x = 0 at tau = 0. zeta >= 0, z > 0, Yc >= 0; a
// period holds stepsPerPeriod steps (at least 4).
PlainSteady plainSteadyState(double zeta, double z, double Yf, double Yc,
                             int stepsPerPeriod = defaultStepsPerPeriod,
                             long maxPeriods = defaultMaxPeriods);

// The same with the static band Ys (below Yc: as Yc).
PlainSteady plainSteadyStateStatic(double zeta, double z, double Yf, double Yc, double Ys,
                                   int stepsPerPeriod = defaultStepsPerPeriod,
                                   long maxPeriods = defaultMaxPeriods);

} // namespace plain
