// The picture as plain shapes: lines, discs, rectangles and text in window units (-1..1
// on both axes of a square frame), in drawing order. The clear view and the panels are
// built as scenes; GL draws a scene (graphics/scene_gl.h) and the SVG writer writes one
// (picture/svg.h), so both show the same shapes.
#pragma once

#include <string>
#include <vector>

#include "state/state.h"

namespace fv {

// A colour: red, green, blue (0..1).
struct Rgb {
    float r;
    float g;
    float b;
};

// The palette of the clear view: Okabe and Ito's colours, which stay apart under
// deuteranopia and protanopia, and line styles that tell the kinds of motion apart in
// grey.
namespace ink {
constexpr Rgb black = {0.0f, 0.0f, 0.0f};
constexpr Rgb grey = {0.45f, 0.45f, 0.45f};
constexpr Rgb lightGrey = {0.85f, 0.85f, 0.85f};
constexpr Rgb white = {1.0f, 1.0f, 1.0f};
constexpr Rgb orange = {0.902f, 0.624f, 0.0f};     // #E69F00
constexpr Rgb skyBlue = {0.337f, 0.706f, 0.914f};  // #56B4E9
constexpr Rgb green = {0.0f, 0.620f, 0.451f};      // #009E73, bluish green
constexpr Rgb yellow = {0.941f, 0.894f, 0.259f};   // #F0E442
constexpr Rgb blue = {0.0f, 0.447f, 0.698f};       // #0072B2
constexpr Rgb vermillion = {0.835f, 0.369f, 0.0f}; // #D55E00
constexpr Rgb purple = {0.800f, 0.475f, 0.655f};   // #CC79A7, reddish purple
} // namespace ink

enum class Stroke {
    solid,
    dashed, // dashes of 9 pixels at the frame's 800
    dotted, // dots of 2 pixels, 4 apart
};

enum class Anchor { start, middle, end };

enum class ShapeKind { line, disc, rect, text };

struct Shape {
    ShapeKind kind;
    Rgb color;
    // line: its points; disc: the centre; rect: lower left and upper right corners;
    // text: where its base line starts, is centred or ends (by anchor)
    std::vector<Point2> points;
    double size;      // line: width [pixels at the frame's 800]; disc: radius [window
                      // units]; text: height of a line [window units]
    Stroke stroke;    // lines
    Anchor anchor;    // text
    bool bold;        // text
    std::string text; // UTF-8
};

struct Scene {
    std::vector<Shape> shapes;
};

// A rectangle of the frame [window units].
struct Box {
    double left;
    double bottom;
    double right;
    double top;
};

void addLine(Scene* scene, std::vector<Point2> points, Rgb color, double width,
             Stroke stroke = Stroke::solid);
// The parts of the polyline inside box, as lines: a curve that leaves the chart is cut at
// its edge, not drawn beyond it. Points that are not finite break the line.
void addClippedLine(Scene* scene, const std::vector<Point2>& points, const Box& box, Rgb color,
                    double width, Stroke stroke = Stroke::solid);
void addDisc(Scene* scene, Point2 centre, double radius, Rgb color);
void addRect(Scene* scene, Box box, Rgb color);
void addText(Scene* scene, Point2 at, std::string text, double height, Rgb color,
             Anchor anchor = Anchor::start, bool bold = false);

// Axis ticks at 1, 2 or 5 times a power of ten, the fewest steps that give at least
// `least` ticks and no more than about twice that in [low, high]. None for an empty or
// not finite range.
std::vector<double> niceTicks(double low, double high, int least);
// A tick's number as the axis shows it: no more digits than the step needs ("0.25",
// "1e-05" for tiny steps), and 0 for a tick that rounding puts near zero.
std::string tickText(double value, double step);
// A value with `digits` significant digits (%.*g), for readouts.
std::string readoutText(double value, int digits);

} // namespace fv
