// Stick-slip amplitude curves: the stick-slip solution swept over the ratio grid.
#pragma once

#include "analysis/curve.h"
#include "freqchar/stickslip.h"

namespace fv {

// Fills points 0..n of curve: point 0 is (0, Yf - Yc) without a search, point i is
// (i*step, stickSlipAmplitude(i*step)) with -1.0 where there is no solution. Reads
// zeta, Yf and Yc of the parameter set.
void sweepStickSlipAmplitude(double step, int n, AmplitudeCurve& curve);

// The same sweep for count systems at once, curve k for systems[k], all points spread
// over the cores together. Returns when every curve is complete.
void sweepStickSlipCurves(double step, int n, const ClosedFormSystem* systems,
                          AmplitudeCurve* curves, int count);

} // namespace fv
