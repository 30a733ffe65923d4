// Progress of the work off the event loop: while the regime map or the exact dots are
// being computed, a timer collects what is done and shows it in the last frame, drawn
// again from the same state (the motion does not advance).
#pragma once

#include "state/state.h"

namespace fv {

constexpr unsigned progressTickMs = 100; // how often progress is shown [ms]

// Starts the timer when work is under way and it is not running yet.
void watchBackgroundWork(Session& session);

} // namespace fv
