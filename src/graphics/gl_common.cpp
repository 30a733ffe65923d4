// The GL calls the desktop's OpenGL and the browser's emulation take alike: vertices,
// the end of a run of segments, the line width.
#include "graphics/gl_port.h"

#include <GL/gl.h>

namespace fv {

void vertex(double x, double y) {
    glVertex2f(static_cast<float>(x), static_cast<float>(y));
}

void endSegments(const SegmentRun* /*run*/) {
    glEnd();
}

void setLineWidth(float width) {
    glLineWidth(width);
}

float currentLineWidth() {
    float width = 1.0f;
    glGetFloatv(GL_LINE_WIDTH, &width);
    return width;
}

} // namespace fv
