// The front ends' driver: what a frame does, playback, the progress of the work off the
// event loop and what a window key does, on GLUT's timers, for the desktop window and
// the web page alike. A front end hands it its state and the few things only it can do
// (show a frame, fail one), and keeps for itself the console, files and its own page.
#pragma once

#include "graphics/display.h"
#include "session/keys.h"
#include "state/state.h"

namespace fv {

// What only the front end can do.
struct FrontEndOps {
    void (*endFrame)();            // shows the frame drawn: a flush, and a swap where
                                   // the window is double-buffered
    void (*frameFailed)(State* s); // a frame's step could not have its working memory
    unsigned workPollMs;           // how often work done elsewhere is looked at [ms]
};

// What the driver works on: the front end's state, its last frame, its operations, and
// how the progress of background work was last shown.
struct DriverContext {
    State* state;
    FrameRecord* frame;
    const FrontEndOps* ops;
    bool workUnshown; // background work collected that the picture does not show yet
    int workDrawnMs;  // when the progress was last drawn [ms since the event loop began]
};

// Defined by each front end: the context of its one window or canvas, or nullptr where
// there is none (a GLUT timer may outlive the window).
DriverContext* driverContext();

// The next frame into the buffer: the motion's step and finished background work first,
// then the picture. False, with nothing drawn, where the step could not have its
// working memory.
bool stepFrame(State& s, FrameRecord* frame);

// A frame shown, or the front end told that it failed.
void driverFrame(DriverContext& c);

// A window key: applied, then a frame drawn (with the work it shows started) or the
// playback started or stopped. Returns what applyKey made of it, for the front end to
// finish the keys that are its own: the console, the end, the picture.
KeyAction driverKey(DriverContext& c, unsigned char key);

// Around a console pass, which the front end runs: before it, the work under way is
// cancelled; after it, the picture is stale and the work the view shows starts.
void beforeDialogue(DriverContext& c);
void afterDialogue(DriverContext& c);

// Starts the timer that shows the progress of background work where work is under way
// (and, where there are no threads, works it in slices).
void watchWork(DriverContext& c);

// Starts the playback with a frame at once, or stops it; the timer of playback run
// generation draws a frame and schedules the next (one of a stopped or earlier run does
// nothing).
void togglePlayback(DriverContext& c);
void playbackTick(int generation);

} // namespace fv
