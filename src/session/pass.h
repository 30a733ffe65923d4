// What a dialogue pass does to the state, group by group, without a word of text: the
// model's derivations of the group into the state, and at the end the reset of the
// motion and the view. The console prints around these; the web page, the benchmarks
// and the tests call them as they are.
#pragma once

#include "state/state.h"

namespace fv {

// Group (1): omega0 and zeta from m, lambda and K.
void deriveSpringMassDamper(State& s);

// Group (2): Yf, As, Ad and phi from F and omf.
void deriveExternalForce(State& s);

// Group (3) in two halves, for the texts printed between them (see the model's
// beginFriction and finishFriction).
void beginFriction(State& s, ChartPass* pass);
void finishFriction(State& s, ChartPass* pass);

// Group (3) whole.
void deriveFriction(State& s);

// Group (4): the motion restarts from (y0, v0) at t = 0 and every scale is the default.
void resetTimeResponseAndView(State& s);

// The motion restarts at t = 0 in the steady motion at the entered ratio, as the model
// finds its start; false, with the motion from (y0, v0), where there is none.
bool startInSteadyMotion(State& s);

// Everything from group `group` (1 to 4) on, as a dialogue pass from it computes it.
void recomputeFrom(State& s, int group);

} // namespace fv
