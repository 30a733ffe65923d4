// The motion the window shows: a frame of it, and the strip chart's sample of each
// frame, kept in the state.
#pragma once

#include "state/state.h"

namespace fv {

// Advances stateY and simTime by one frame; false when the integration could not have
// its working memory (the front end then ends the program).
bool advanceMotion(State& s);

// Advances timeRingIndex with its wrap and records the sample of the motion now: y, the
// external force and the friction force on the mass.
void recordTimeSample(State& s);

// What a frame does to the state before it is drawn: the motion advanced by one frame,
// its sample recorded. False as advanceMotion.
bool stepMotion(State& s);

} // namespace fv
