// The GL calls of the drawing, as the desktop's OpenGL takes them: GL_LINES at any
// width, GLUT's bitmap font, GL's own state asked of GL.
#include "graphics/gl_port.h"

#include <GL/freeglut.h>

namespace fv {

void drawQuads(const QuadCorner* corners, int quadCount) {
    glBegin(GL_QUADS);
    for (int k = 0; k < 4 * quadCount; ++k) {
        const Color4& c = corners[k].color;
        glColor4f(c.r, c.g, c.b, c.a);
        glVertex2f(corners[k].x, corners[k].y);
    }
    glEnd();
}

SegmentRun beginSegments(const Color4* color) {
    glColor4f(color->r, color->g, color->b, color->a);
    glBegin(GL_LINES);
    return {*color, false, 0.0, 0.0};
}

void addSegment(const SegmentRun* /*run*/, double x0, double y0, double x1, double y1) {
    vertex(x0, y0);
    vertex(x1, y1);
}

void drawBitmapText(float x, float y, const char* text) {
    glPushAttrib(GL_CURRENT_BIT);
    glRasterPos2f(x, y);
    for (const char* p = text; *p != '\0'; ++p) {
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, *p);
    }
    glPopAttrib();
}

void setLineWidth(float width) {
    glLineWidth(width);
}

float currentLineWidth() {
    float width = 1.0f;
    glGetFloatv(GL_LINE_WIDTH, &width);
    return width;
}

void setViewport(int left, int bottom, int width, int height) {
    glViewport(left, bottom, width, height);
}

void currentViewport(int box[4]) {
    box[0] = 0;
    box[1] = 0;
    box[2] = 0;
    box[3] = 0;
    glGetIntegerv(GL_VIEWPORT, box);
}

int bitmapTextWidth(const char* text) {
    return glutBitmapLength(GLUT_BITMAP_HELVETICA_18, reinterpret_cast<const unsigned char*>(text));
}

} // namespace fv
