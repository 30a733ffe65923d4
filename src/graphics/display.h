// Display composition: one frame is one step of the motion and the whole picture.
#pragma once

namespace fv {

// The GLUT display callback: drawFrame, then flush and swap.
void display();
// Everything of a frame before the swap: clear, advance the motion by one frame,
// record one sample and draw both charts into the back buffer.
void drawFrame();

} // namespace fv
