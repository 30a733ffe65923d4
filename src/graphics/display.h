// Display composition: one frame is one step of the motion and the whole picture.
#pragma once

namespace fv {

// The GLUT display callback: drawFrame, then flush and swap.
void display();
// Everything of a frame before the swap: clear, advance the motion by one frame,
// record one sample and draw both charts into the back buffer.
void drawFrame();
// The last frame's picture drawn again into the back buffer, from the same state and
// the same GL state, without advancing the motion or recording a sample; not swapped.
void redrawLastFrame();

} // namespace fv
