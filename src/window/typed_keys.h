// Keys typed into the window while the console dialogue held the event loop: X keeps
// them queued, and they are dropped when the dialogue returns rather than replayed on the
// new parameter set.
#pragma once

#include "window/window.h"

namespace fv {

// Drops every key press and release for the window that the X server has sent so far,
// read or not; other events (exposures, a close) stay for the event loop. Returns how
// many events were dropped.
int dropTypedKeys(const WindowHandles& handles);

} // namespace fv
