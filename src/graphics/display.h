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
// Collects the background work and draws the last frame again when the part it shows
// has changed, and only while that frame shows the parameter set as it is (after a
// return to the console the picture stays until the next frame); true when it drew.
bool redrawForBackgroundWork(State& s);

} // namespace fv
