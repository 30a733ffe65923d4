// Keyboard callback of the window.
#pragma once

namespace fv {

// GLUT keyboard callback; the mouse position is not used.
void keyboard(unsigned char key, int x, int y);

} // namespace fv
