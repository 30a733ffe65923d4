// Continuous-motion amplitude: the exact steady amplitude of forced vibration with
// viscous damping and Coulomb friction in which the mass never comes to rest.
#pragma once

#include "analysis/curve.h"
#include "analysis/system.h"

namespace fv {

// Amplitude [m] at frequency ratio z of sys. Returns 1 with the amplitude in *result; 0 with
// *result = -1.0 when no continuous solution exists; 0 with *result untouched when z is exactly 0.
int continuousAmplitude(double z, const ClosedFormSystem& sys, double* result);

// The same solution's upper turning point: its amplitude as continuousAmplitude gives it,
// and in *theta the phase of the forcing Yf sin(z tau + theta) there (set only with 1).
int continuousTurningPoint(double z, const ClosedFormSystem& sys, double* amplitude, double* theta);

// Whether the continuous solution of sys turns at its turning points rather than sticks:
// at x = amplitude, where the force is Yf sin(theta) (as continuousTurningPoint gives
// them), the spring and the force exceed the static band, |Yf sin(theta) - A| >
// max(Yc, Ys). The closed form holds only where this is true; with Ys above Yc it
// fails at ratios where the sliding motion would turn with a force between Yc and Ys.
bool continuousTurnsAt(const ClosedFormSystem& sys, double amplitude, double theta);

// The same at ratio z: false also where no continuous solution exists.
bool continuousTurns(double z, const ClosedFormSystem& sys);

// Erases (sets to -1.0) the points 0..count of curve, swept for sys by
// sweepContinuousAmplitude, at which a static band above Yc holds the mass at a turning
// point (continuousTurns false). Leaves the curve untouched where Ys <= Yc.
void dropHeldTurningPoints(int count, const ClosedFormSystem& sys, AmplitudeCurve& curve);

// Fills points 0..count of curve with ratio i*step and its continuous amplitude,
// -1.0 where continuousAmplitude gives none.
void sweepContinuousAmplitude(double step, int count, const ClosedFormSystem& sys,
                              AmplitudeCurve& curve);

} // namespace fv
