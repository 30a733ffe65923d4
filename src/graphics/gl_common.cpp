// The GL calls the desktop's OpenGL and the browser's emulation take alike: vertices and
// the end of a run of segments.
#include "graphics/gl_port.h"

#include <GL/gl.h>

namespace fv {

void vertex(double x, double y) {
    glVertex2f(static_cast<float>(x), static_cast<float>(y));
}

void endSegments(const SegmentRun* /*run*/) {
    glEnd();
}

} // namespace fv
