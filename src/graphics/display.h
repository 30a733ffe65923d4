// Display composition: the whole picture of the state as it is. A frame's step of the
// motion (session/motion.h) and the collection of finished background work
// (session/background.h) come before it is drawn.
#pragma once

#include "state/state.h"

namespace fv {

// What a drawing surface (the window, the page's canvas) keeps of its last frame.
struct FrameRecord {
    // GL line width when the last frame began [pixels]: 1 before the first frame, then
    // what the previous frame left. A picture redrawn starts from it.
    float startLineWidth;
    // The last frame shows the state as it is: no dialogue has run since. Only then may
    // finished background work draw that frame again.
    bool current;
};

// First step of every frame: clear the colour and depth buffers, load the identity.
void beginFrame();
// Everything of a frame before the swap: clear and draw both charts into the back
// buffer; the frame's GL line width is kept for a redraw.
void drawFrame(const State& s, FrameRecord* frame);
// The last frame's picture drawn again into the back buffer, from the same state and
// the same GL state; not swapped.
void redrawLastFrame(const State& s, const FrameRecord& frame);
// Whether the last frame shows background work (the map or the dots) of the parameter
// set as it is: only then may finished work draw it again (after a return to the
// console the picture stays until the next frame).
bool frameShowsWork(const State& s, const FrameRecord& frame);

} // namespace fv
