// Display composition: one frame is one step of the motion and the whole picture.
#pragma once

#include "state/state.h"

namespace fv {

// First step of every frame: clear the colour and depth buffers, load the identity.
void beginFrame();
// Everything of a frame before the swap: clear, advance the motion by one frame,
// record one sample and draw both charts into the back buffer.
void drawFrame(State& s);
// The last frame's picture drawn again into the back buffer, from the same state and
// the same GL state, without advancing the motion or recording a sample; not swapped.
void redrawLastFrame(State& s);

} // namespace fv
