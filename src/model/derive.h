// Everything the model derives from the physical system, group by group as the
// dialogue asks for it, and each kernel's view of the system, converted here once: the
// closed forms' (zeta, Yf, Yc), the exact motion's (zeta, z, Yf, Yc) and the equation of
// motion's values.
#pragma once

#include <cmath>

#include "exact/steady.h"
#include "model/chart.h"
#include "model/derived.h"
#include "model/system.h"
#include "regime/map.h"
#include "timeresp/integrate.h"

namespace fv {

// Group (1): omega0 and zeta from m, lambda and K.
void deriveSpringMassDamper(const PhysicalSystem& in, Derived* d);

// Group (2): Yf, As, Ad and phi from F and omf.
void deriveExternalForce(const PhysicalSystem& in, Derived* d);

// Group (3) without the chart, as beginFriction computes it: the dead band Yc, then
// givenRatio, YZA and YZB (the value the search gave, -1 when none). A parameter study
// needs these alone.
void deriveDeadBand(const PhysicalSystem& in, Derived* d);
void deriveEnteredPoint(const PhysicalSystem& in, Derived* d);

// The entered frequency ratio omf/omega0 [-], omega0 derived.
inline double enteredRatio(const PhysicalSystem& in, const Derived& d) {
    return in.omf / d.omega0;
}

// Group (3) in two halves, for the texts printed between them: the first computes Yc,
// starts the chart's curves (on helper threads) and finds givenRatio, YZA and YZB (the
// value the search gave, -1 when none); the second takes YZB = 100 where there was
// none, completes the curves and chooses the red point.
void beginFriction(const PhysicalSystem& in, Derived* d, Chart* chart, ChartPass* pass);
void finishFriction(Derived* d, Chart* chart, ChartPass* pass);

// The passes a front end without a dialogue asks for, each as the program's first
// dialogue pass computes it on a fresh Derived (and Chart): groups (1) and (2), what the
// time response and the regime map need; groups (1) to (3) without the chart, the
// entered point's values alone (a parameter study); and groups (1) to (3) whole.
void deriveMotion(const PhysicalSystem& in, Derived* d);
void deriveEnteredValues(const PhysicalSystem& in, Derived* d);
void deriveFirstPass(const PhysicalSystem& in, Derived* d, Chart* chart);

// The closed forms' view: zeta, Yf and Yc.
inline ClosedFormSystem closedFormSystem(const Derived& d) {
    return {d.zeta, d.Yf, d.Yc, d.Ys};
}

// The exact motion's view at the entered ratio.
inline ExactSystem exactSystem(const Derived& d) {
    return {d.zeta, d.givenRatio, d.Yf, d.Yc, d.Ys};
}

// The ratio of the static to the sliding friction the regime map is drawn for: Fs/Fric
// where a static force above the sliding one is given, else 1.
inline double staticRatio(const Derived& d) {
    return d.Ys > d.Yc && d.Yc > 0.0 ? d.Ys / d.Yc : 1.0;
}

// The regime map's view: the damping ratio and Fs/Fric.
inline RegimeSystem regimeSystem(const Derived& d) {
    return {d.zeta, staticRatio(d)};
}

// Whether the static force holds a mass at rest at x = 0 for good: Fs is at least the
// external force's amplitude, Ys >= |Yf|.
inline bool staticBandHoldsMass(const Derived& d) {
    return d.Ys > 0.0 && d.Ys >= std::fabs(d.Yf);
}

// The values the equation of motion reads.
inline MotionParams motionParams(const PhysicalSystem& in, const Derived& d) {
    return {in.m, in.lambda, in.K, in.F, in.omf, in.Fric, d.omega0, in.Fs};
}

// The motion at t = 0: the initial conditions.
inline MotionState initialMotion(const PhysicalSystem& in) {
    return {0.0, in.y0, in.v0};
}

// The exact steady state at the entered ratio, from rest.
ExactSteady enteredExactSteady(const Derived& d);

} // namespace fv
