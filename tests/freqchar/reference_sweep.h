// Reference stick-slip sweep: the search written as directly as its definition reads,
// single-threaded, with every residual computed in full. The program's optimised
// search must agree with it bit for bit; the benchmark measures against it.
#pragma once

#include "state/state.h"

namespace ref {

// Stick-slip amplitude of sys at ratio z, or -1.0.
double stickSlipAmplitude(const fv::ClosedFormSystem& sys, double z);
// Points 0..n of curve as the stick-slip sweep defines them.
void sweepStickSlipAmplitude(const fv::ClosedFormSystem& sys, double step, int n,
                             fv::AmplitudeCurve& curve);
// Everything a group (3) pass computes once Fric is read, into s, with the reference
// sweep (givenRatio, zeta, Yf and Yc as s holds them).
void group3Pass(fv::State& s);

} // namespace ref
