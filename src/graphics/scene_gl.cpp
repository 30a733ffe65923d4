// Drawing a scene with GL. Dashed and dotted lines are cut into segments here (GL's line
// stipple does not reach WebGL), in the frame's pixels so that they look as the SVG's.
#include "graphics/scene_gl.h"

#include <GL/gl.h>
#include <cmath>
#include <utility>
#include <vector>

#include "graphics/gl_port.h"
#include "graphics/primitives.h"

namespace fv {

namespace {

constexpr double frameHalf = 400.0; // the frame's pixels per window unit at 800 pixels

struct Dash {
    double on;  // [frame pixels]
    double off; // [frame pixels]
};

Dash dashOf(Stroke stroke) {
    switch (stroke) {
    case Stroke::dashed:
        return {9.0, 6.0};
    case Stroke::dotted:
        return {2.0, 4.0};
    default:
        return {0.0, 0.0};
    }
}

Color4 color4(const Rgb& c) {
    return {c.r, c.g, c.b, 1.0f};
}

// Pixels of the viewport per frame pixel.
double viewportScale() {
    int box[4] = {0, 0, 0, 0};
    currentViewport(box);
    return box[2] > 0 ? box[2] / (2.0 * frameHalf) : 1.0;
}

void drawLine(const Shape& s, double scale) {
    setLineWidth(static_cast<float>(std::fmax(1.0, s.size * scale)));
    const Color4 c = color4(s.color);
    const Dash dash = dashOf(s.stroke);
    glDisable(GL_LIGHTING);
    const SegmentRun run = beginSegments(&c);
    double phase = 0.0; // where in the dash pattern the next segment starts [frame pixels]
    for (std::size_t i = 1; i < s.points.size(); ++i) {
        const Point2 a = s.points[i - 1];
        const Point2 b = s.points[i];
        if (dash.on <= 0.0) {
            addSegment(&run, a.x, a.y, b.x, b.y);
            continue;
        }
        const double length = std::hypot(b.x - a.x, b.y - a.y) * frameHalf;
        const double period = dash.on + dash.off;
        double at = 0.0;
        while (at < length) {
            const double inPeriod = std::fmod(phase + at, period);
            const double step = inPeriod < dash.on ? dash.on - inPeriod : period - inPeriod;
            const double end = std::fmin(length, at + step);
            if (inPeriod < dash.on && length > 0.0) {
                const double u0 = at / length;
                const double u1 = end / length;
                addSegment(&run, a.x + u0 * (b.x - a.x), a.y + u0 * (b.y - a.y),
                           a.x + u1 * (b.x - a.x), a.y + u1 * (b.y - a.y));
            }
            at = end;
        }
        phase = std::fmod(phase + length, period);
    }
    endSegments(&run);
    glEnable(GL_LIGHTING);
}

LabelAnchor labelAnchor(Anchor a) {
    return a == Anchor::middle ? LabelAnchor::middle
           : a == Anchor::end  ? LabelAnchor::end
                               : LabelAnchor::start;
}

// The rectangles in a row of the scene as one array of quads: a regime map's 7,320
// cells are one draw, not one each (in the browser a draw is a WebGL call).
void drawRects(const std::vector<QuadCorner>& corners) {
    if (corners.empty()) {
        return;
    }
    glDisable(GL_LIGHTING);
    drawQuads(corners.data(), static_cast<int>(corners.size() / 4));
    glEnable(GL_LIGHTING);
}

void addRectCorners(const Shape& s, std::vector<QuadCorner>* corners) {
    const Color4 c = color4(s.color);
    const float x0 = static_cast<float>(s.points[0].x);
    const float y0 = static_cast<float>(s.points[0].y);
    const float x1 = static_cast<float>(s.points[1].x);
    const float y1 = static_cast<float>(s.points[1].y);
    for (const auto& p : {std::pair<float, float>{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}) {
        corners->push_back({p.first, p.second, c});
    }
}

} // namespace

void drawSceneGL(const Scene& scene) {
    const double scale = viewportScale();
    std::vector<QuadCorner> rects;
    for (const Shape& s : scene.shapes) {
        if (s.kind == ShapeKind::rect) {
            addRectCorners(s, &rects);
            continue;
        }
        drawRects(rects);
        rects.clear();
        const Color4 c = color4(s.color);
        switch (s.kind) {
        case ShapeKind::line:
            drawLine(s, scale);
            break;
        case ShapeKind::disc:
            drawDisc(&s.points[0], s.size, &c);
            break;
        case ShapeKind::text:
            drawLabel(s.points[0].x, s.points[0].y, s.text.c_str(), s.size * frameHalf * scale, &c,
                      labelAnchor(s.anchor), s.bold);
            break;
        default:
            break;
        }
    }
    drawRects(rects);
}

void setSquareViewport(int width, int height) {
    const int side = width < height ? width : height;
    setViewport((width - side) / 2, (height - side) / 2, side, side);
}

} // namespace fv
