// Stick-slip amplitude curves: the stick-slip solution swept over the ratio grid.
#pragma once

#include "control/params.h"

namespace fv {

// Fills points 0..n of curve: point 0 is (0, Yf - Yc) without a search, point i is
// (i*step, stickSlipAmplitude(i*step)) with -1.0 where there is no solution.
void sweepStickSlipAmplitude(double step, int n, AmplitudeCurve& curve);

} // namespace fv
