// The motion the window shows: a frame of it, and the strip chart's sample of each
// frame, kept in the state.
#pragma once

#include "state/state.h"

namespace fv {

// Advances stateY and simTime by one frame.
void advanceMotion(State& s);

// Advances timeRingIndex with its wrap and records the sample of the motion now: y, the
// external force and the friction force on the mass.
void recordTimeSample(State& s);

} // namespace fv
