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

// Fills points 0..count of curve with ratio i*step and its continuous amplitude,
// -1.0 where continuousAmplitude gives none.
void sweepContinuousAmplitude(double step, int count, const ClosedFormSystem& sys,
                              AmplitudeCurve& curve);

} // namespace fv
