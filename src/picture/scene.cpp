// Building scenes: the shapes, the clipping of curves to a chart and the numbers of an
// axis.
#include "picture/scene.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace fv {

namespace {

bool finitePoint(const Point2& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// Liang and Barsky's clipping of the segment a-b to box: false where none of it is
// inside, else a and b moved to the ends of the part inside.
bool clipSegment(Point2* a, Point2* b, const Box& box) {
    const double dx = b->x - a->x;
    const double dy = b->y - a->y;
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a->x - box.left, box.right - a->x, a->y - box.bottom, box.top - a->y};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0) {
                return false; // parallel to this edge and outside it
            }
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0) {
            t0 = std::fmax(t0, t);
        } else {
            t1 = std::fmin(t1, t);
        }
    }
    if (t0 > t1) {
        return false;
    }
    const Point2 from = *a;
    *a = {from.x + t0 * dx, from.y + t0 * dy};
    *b = {from.x + t1 * dx, from.y + t1 * dy};
    return true;
}

} // namespace

void addLine(Scene* scene, std::vector<Point2> points, Rgb color, double width, Stroke stroke) {
    if (points.size() < 2) {
        return;
    }
    Shape s = {};
    s.kind = ShapeKind::line;
    s.color = color;
    s.points = std::move(points);
    s.size = width;
    s.stroke = stroke;
    scene->shapes.push_back(std::move(s));
}

void addClippedLine(Scene* scene, const std::vector<Point2>& points, const Box& box, Rgb color,
                    double width, Stroke stroke) {
    std::vector<Point2> run;
    for (std::size_t i = 1; i < points.size(); ++i) {
        Point2 a = points[i - 1];
        Point2 b = points[i];
        if (!finitePoint(a) || !finitePoint(b) || !clipSegment(&a, &b, box)) {
            addLine(scene, std::move(run), color, width, stroke);
            run.clear();
            continue;
        }
        if (run.empty() || run.back().x != a.x || run.back().y != a.y) {
            addLine(scene, std::move(run), color, width, stroke);
            run.clear();
            run.push_back(a);
        }
        run.push_back(b);
    }
    addLine(scene, std::move(run), color, width, stroke);
}

void addDisc(Scene* scene, Point2 centre, double radius, Rgb color) {
    Shape s = {};
    s.kind = ShapeKind::disc;
    s.color = color;
    s.points = {centre};
    s.size = radius;
    scene->shapes.push_back(std::move(s));
}

void addRect(Scene* scene, Box box, Rgb color) {
    Shape s = {};
    s.kind = ShapeKind::rect;
    s.color = color;
    s.points = {{box.left, box.bottom}, {box.right, box.top}};
    scene->shapes.push_back(std::move(s));
}

void addText(Scene* scene, Point2 at, std::string text, double height, Rgb color, Anchor anchor,
             bool bold) {
    Shape s = {};
    s.kind = ShapeKind::text;
    s.color = color;
    s.points = {at};
    s.size = height;
    s.anchor = anchor;
    s.bold = bold;
    s.text = std::move(text);
    scene->shapes.push_back(std::move(s));
}

std::vector<double> niceTicks(double low, double high, int least) {
    std::vector<double> ticks;
    if (!std::isfinite(low) || !std::isfinite(high) || !(high > low) || least < 1) {
        return ticks;
    }
    const double rough = (high - low) / least;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (const double m : {5.0, 2.0, 1.0}) {
        if (m * power <= rough) {
            step = m * power;
            break;
        }
    }
    const double first = std::ceil(low / step - 1e-9);
    const double last = std::floor(high / step + 1e-9);
    for (double k = first; k <= last; k += 1.0) {
        ticks.push_back(k * step);
    }
    return ticks;
}

std::string tickText(double value, double step) {
    if (std::fabs(value) < 1e-9 * std::fabs(step)) {
        return "0";
    }
    char text[32];
    const double magnitude = std::fabs(step);
    if (magnitude >= 1e-4 && std::fabs(value) < 1e6) {
        const int decimals =
            magnitude >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(magnitude) - 1e-9));
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
    } else {
        std::snprintf(text, sizeof text, "%.3g", value);
    }
    return text;
}

std::string readoutText(double value, int digits) {
    if (!std::isfinite(value)) {
        return "—";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}

} // namespace fv
