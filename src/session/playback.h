// Playback's cadence: a frame every playbackFrameMs of real time; a frame that ends after
// the next one was due schedules the next from when it was drawn, so a slow machine gets
// fewer frames instead of a queue of them. Each start opens a new run, so that a timer
// left from a run that was stopped and started again draws nothing. The front ends draw
// the frames on their own timers.
#pragma once

#include "state/state.h"

namespace fv {

// Stops the run that plays, or starts a new one at nowMs [ms]; true when it started
// (its first frame is due at once).
bool togglePlaybackRun(Playback* playback, int nowMs);

// Whether a timer of run generation should draw a frame.
bool playbackRunCurrent(const Playback& playback, int generation);

// After a frame of the run drawn at nowMs: the wait until the next one [ms].
unsigned nextPlaybackFrameDelay(Playback* playback, int nowMs);

} // namespace fv
