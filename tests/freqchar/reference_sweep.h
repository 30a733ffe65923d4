// Reference stick-slip sweep: the search written as directly as its definition reads,
// single-threaded, with every residual computed in full. The program's optimised
// search must agree with it bit for bit; the benchmark measures against it.
#pragma once

#include "control/params.h"

namespace ref {

// Stick-slip amplitude at ratio z for the shared zeta, Yf and Yc, or -1.0.
double stickSlipAmplitude(double z);
// Points 0..n of curve as sweepStickSlipAmplitude defines them.
void sweepStickSlipAmplitude(double step, int n, fv::AmplitudeCurve& curve);
// Everything a group (3) pass computes once Fric is read, with the reference sweep.
void group3Pass();

} // namespace ref
