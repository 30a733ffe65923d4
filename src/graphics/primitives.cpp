// Plot primitives and text in immediate-mode OpenGL. Every shape disables lighting
// while it draws and enables it again as its last call, so shapes take their colour
// from glColor4f and the texts drawn after them take the lit raster colour
// (near-black: no light source is ever enabled). Curves are drawn as one run of
// independent line segments per curve with one lighting bracket around the run:
// the pixels and the state left behind are those of one bracket per segment, at a
// fraction of the cost.
#include "graphics/primitives.h"

#include <GL/gl.h>
#include <cmath>
#include <vector>

#include "common/constants.h"
#include "graphics/gl_port.h"

namespace fv {

namespace {

constexpr double deviceScale = 400.0; // window pixels per unit, and back
constexpr int discSegments = 100;
constexpr double arrowShaftWidth = 0.02; // window units
constexpr double arrowHeadLength = 0.1;  // window units
constexpr double arrowBarbBack = 0.5;    // barb corners 1.5 head lengths behind the tip
constexpr double arrowBarbWidth = 0.4;   // barb corners 0.4 head lengths off the axis
constexpr double axesHalfLength = 10.0;  // reaches far beyond the window
constexpr float axesLineWidth = 2.0f;
constexpr float gridLineWidth = 1.0f;
constexpr float curveLineWidth = 2.0f;
// A white box behind a line of 18-pixel text: below its base line, in all, and beside
// it [window units].
constexpr double textBoxDescent = 0.012;
constexpr double textBoxHeight = 0.052;
constexpr double textBoxMargin = 0.005;
constexpr Color4 colorWhite = {1.0f, 1.0f, 1.0f, 0.0f};

void setColor(const Color4* color) {
    glColor4f(color->r, color->g, color->b, color->a);
}

// Both ends of one segment, converted as drawSegment converts them.
void segmentVertices(const SegmentRun* run, const Point2* from, const Point2* to) {
    addSegment(run, toDevice(from->x), toDevice(from->y), toDevice(to->x), toDevice(to->y));
}

// Moves the origin to (x, y) and turns the axes by angle [rad].
void translateRotate(double x, double y, double angle) {
    glTranslatef(static_cast<float>(x), static_cast<float>(y), 0.0f);
    glRotatef(static_cast<float>(angle / radiansPerDegree), 0.0f, 0.0f, 1.0f);
}

bool validAmplitude(double amplitude) {
    return amplitude >= 0.0; // false for negative and not-a-number
}

} // namespace

const Color4 curvePalette[paletteSize] = {
    {1, 0, 0, 0},    {0, 1, 0, 0},    {0, 0, 1, 0},    {1, 0.2f, 0, 0}, {0, 1, 0.2f, 0},
    {0.2f, 0, 1, 0}, {1, 0.4f, 0, 0}, {0, 1, 0.4f, 0}, {0.4f, 0, 1, 0}, {1, 0.6f, 0, 0},
    {0, 1, 0.6f, 0}, {0.6f, 0, 1, 0}, {1, 0.8f, 0, 0}, {0, 1, 0.8f, 0}, {0.8f, 0, 1, 0},
    {1, 1, 0, 0},    {0, 1, 1, 0},    {1, 0, 1, 0},    {1, 1, 0.2f, 0}, {0.2f, 1, 1, 0},
    {1, 0.2f, 1, 0}};

double toDevice(double v) {
    return v * deviceScale / deviceScale;
}

void drawSegment(const Point2* from, const Point2* to, const Color4* color) {
    glDisable(GL_LIGHTING);
    const SegmentRun run = beginSegments(color);
    segmentVertices(&run, from, to);
    endSegments(&run);
    glEnable(GL_LIGHTING);
}

void drawPolyline(const Point2* points, int count, const Color4* color) {
    if (count < 2) {
        return;
    }
    glDisable(GL_LIGHTING);
    const SegmentRun run = beginSegments(color);
    for (int i = 1; i < count; ++i) {
        segmentVertices(&run, &points[i - 1], &points[i]);
    }
    endSegments(&run);
    glEnable(GL_LIGHTING);
}

void drawDisc(const Point2* center, double radius, const Color4* color) {
    const double cx = toDevice(center->x);
    const double cy = toDevice(center->y);
    const double r = toDevice(radius);
    const double step = 2.0 * discPi / discSegments;
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glTranslatef(static_cast<float>(cx), static_cast<float>(cy), 0.0f);
    setColor(color);
    glBegin(GL_TRIANGLE_FAN); // convex: the same pixels as a polygon
    for (int i = 0; i < discSegments; ++i) {
        vertex(r * std::cos(i * step), r * std::sin(i * step));
    }
    glEnd();
    glPopMatrix();
    glEnable(GL_LIGHTING);
}

void drawArrow(const Point2* tip, double length, double angle, const Color4* color) {
    const double x = toDevice(tip->x);
    const double y = toDevice(tip->y);
    const double L = toDevice(length);
    const double w = toDevice(arrowShaftWidth);
    const double h = toDevice(arrowHeadLength);
    double s = L - h;
    if (s < 0.0) {
        s = 0.0; // shorter than its head: the head alone
    }
    const double hb = arrowBarbBack * h;
    const double hw = arrowBarbWidth * h;
    glDisable(GL_LIGHTING);
    glPushMatrix();
    setColor(color);
    translateRotate(x, y, angle);
    glBegin(GL_TRIANGLE_FAN); // each part convex: the same pixels as a polygon
    vertex(-h, -0.5 * w);
    vertex(-h - s, -0.5 * w);
    vertex(-h - s, 0.5 * w);
    vertex(-h, 0.5 * w);
    glEnd();
    glBegin(GL_TRIANGLE_FAN);
    vertex(0.0, 0.0);
    vertex(-h, 0.0);
    vertex(-h - hb, hw);
    glEnd();
    glBegin(GL_TRIANGLE_FAN);
    vertex(0.0, 0.0);
    vertex(-h, 0.0);
    vertex(-h - hb, -hw);
    glEnd();
    glPopMatrix();
    glEnable(GL_LIGHTING);
}

void drawAxesCross(const Point2* center, double angle) {
    const double x = toDevice(center->x);
    const double y = toDevice(center->y);
    glDisable(GL_LIGHTING);
    setLineWidth(axesLineWidth);
    glPushMatrix();
    translateRotate(x, y, angle);
    const SegmentRun run = beginSegments(&colorBlack);
    addSegment(&run, -axesHalfLength, 0.0, axesHalfLength, 0.0);
    addSegment(&run, 0.0, -axesHalfLength, 0.0, axesHalfLength);
    endSegments(&run);
    glPopMatrix();
    glEnable(GL_LIGHTING);
}

void drawGrid(const Point2* center, double angle, int halfCount, double spacingX, double spacingY) {
    const double x = toDevice(center->x);
    const double y = toDevice(center->y);
    const double sx = toDevice(spacingX);
    const double sy = toDevice(spacingY);
    const double halfW = halfCount * sx;
    const double halfH = halfCount * sy;
    glDisable(GL_LIGHTING);
    glPushMatrix();
    setLineWidth(gridLineWidth);
    translateRotate(x, y, angle);
    const SegmentRun run = beginSegments(&colorBlack);
    for (int i = -halfCount; i <= halfCount; ++i) {
        addSegment(&run, i * sx, -halfH, i * sx, halfH);
    }
    for (int i = -halfCount; i <= halfCount; ++i) {
        addSegment(&run, -halfW, i * sy, halfW, i * sy);
    }
    endSegments(&run);
    glPopMatrix();
    glEnable(GL_LIGHTING);
}

void drawCells(const Point2* corner, double width, double height, int rows, int columns,
               const Color4* colors) {
    const double left = toDevice(corner->x);
    const double bottom = toDevice(corner->y);
    const double w = toDevice(width);
    const double h = toDevice(height);
    std::vector<QuadCorner> corners;
    corners.reserve(static_cast<std::size_t>(4 * rows * columns));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const Color4& color = colors[r * columns + c];
            const double x = left + c * w;
            const double y = bottom + r * h;
            // each corner its colour: WebGL's emulation of quads needs it
            const double xy[4][2] = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
            for (const auto& p : xy) {
                corners.push_back({static_cast<float>(p[0]), static_cast<float>(p[1]), color});
            }
        }
    }
    glDisable(GL_LIGHTING);
    drawQuads(corners.data(), rows * columns);
    glEnable(GL_LIGHTING);
}

void drawText(float x, float y, const char* text) {
    drawBitmapText(x, y, text);
}

void drawTextOnWhite(float x, float y, const char* text, float boxLeft) {
    int viewport[4];
    currentViewport(viewport);
    const double unitsPerPixel = viewport[2] > 0 ? 2.0 / viewport[2] : 0.0;
    const double width = bitmapTextWidth(text) * unitsPerPixel;
    const double left = std::fmin(static_cast<double>(boxLeft), static_cast<double>(x));
    const Point2 corner = {left - textBoxMargin, y - textBoxDescent};
    drawCells(&corner, width + (x - left) + 2.0 * textBoxMargin, textBoxHeight, 1, 1, &colorWhite);
    drawText(x, y, text);
}

void drawGappedCurve(const Point2* origin, double scaleX, double scaleY, int count,
                     const AmplitudeCurve* curve, const Color4* color) {
    setLineWidth(curveLineWidth);
    if (count > curveCapacity) {
        count = curveCapacity;
    }
    int k = 0;
    while (k < count && !validAmplitude(curve->amplitude[k])) {
        ++k;
    }
    if (k < count) {
        glDisable(GL_LIGHTING);
        const SegmentRun run = beginSegments(color);
        Point2 cur = {scaleX * curve->ratio[k] + origin->x,
                      scaleY * curve->amplitude[k] + origin->y};
        bool prevValid = true;
        for (int i = k; i < count; ++i) {
            const Point2 prev = cur;
            const bool valid = validAmplitude(curve->amplitude[i]);
            if (valid) {
                cur = {scaleX * curve->ratio[i] + origin->x,
                       scaleY * curve->amplitude[i] + origin->y};
            }
            if (prevValid && valid) {
                segmentVertices(&run, &prev, &cur);
            }
            prevValid = valid;
        }
        endSegments(&run);
        glEnable(GL_LIGHTING);
    }
    glFlush();
}

void drawSampledCurve(const Point2* origin, double stepX, double scaleY, int lastIndex,
                      const double* samples, const Color4* color) {
    setLineWidth(curveLineWidth);
    if (lastIndex < 1) {
        return;
    }
    glDisable(GL_LIGHTING);
    const SegmentRun run = beginSegments(color);
    Point2 cur = {origin->x, scaleY * samples[0] + origin->y};
    for (int i = 1; i <= lastIndex; ++i) {
        const Point2 prev = cur;
        cur.x = prev.x + stepX;
        cur.y = scaleY * samples[i] + origin->y;
        segmentVertices(&run, &prev, &cur);
    }
    endSegments(&run);
    glEnable(GL_LIGHTING);
}

void drawSampledCurves(const Point2* origin, double stepX, const double* scales, int curveCount,
                       int lastIndex, const double* base, int stride) {
    for (int j = 0; j < curveCount && j < paletteSize; ++j) {
        drawSampledCurve(origin, stepX, scales[j], lastIndex, base + j * stride, &curvePalette[j]);
    }
}

} // namespace fv
