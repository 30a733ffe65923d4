// Playback: the animation plays by itself at its true speed, one frame (0.1 s of
// motion) every 100 ms of real time, the same frames that 's' draws.
#pragma once

#include "state/state.h"

namespace fv {

// Starts the playback with a frame at once, or stops it (no frame).
void togglePlayback(Playback* playback);

// The GLUT timer callback of playback run generation: one frame, and the next one
// scheduled; a timer of a stopped or earlier run does nothing.
void playbackTick(int generation);

} // namespace fv
