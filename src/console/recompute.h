// What a dialogue pass recomputes, group by group, without a word of text: the derived
// quantities, the frequency characteristic and the red point, and the reset of the
// motion and the view. The console prints around these; the benchmarks and the tests
// call them as they are.
#pragma once

#include "console/chart.h"
#include "state/state.h"

namespace fv {

// Group (1): omega0 and zeta from m, lambda and K.
void deriveSpringMassDamper(State& s);

// Group (2): Yf, As, Ad and phi from F and omf.
void deriveExternalForce(State& s);

// Group (3) in two halves, for the texts printed between them: the first computes Yc,
// starts the curves (on helper threads) and finds givenRatio, YZA and YZB (the value the
// search gave, -1 when none); the second takes YZB = 100 where there was none, completes
// the curves and chooses the red point.
void beginFriction(State& s, ChartPass* pass);
void finishFriction(State& s, ChartPass* pass);

// Group (3) whole.
void deriveFriction(State& s);

// Group (4): the motion restarts from (y0, v0) at t = 0 and every scale is the default.
void resetTimeResponseAndView(State& s);

// Everything from group `group` (1 to 4) on, as a dialogue pass from it computes it.
void recomputeFrom(State& s, int group);

} // namespace fv
