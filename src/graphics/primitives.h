// Plot primitives and text: segments, discs, arrows, the axes cross, grids, bitmap
// text and the two curve drawers, in window coordinates (-1..1 on both axes).
#pragma once

#include "state/state.h"

namespace fv {

// A colour handed unchanged to glColor4f: red, green, blue, alpha (0..1).
struct Color4 {
    float r;
    float g;
    float b;
    float a;
};

constexpr Color4 colorRed = {1.0f, 0.0f, 0.0f, 0.0f};
constexpr Color4 colorGreen = {0.0f, 1.0f, 0.0f, 0.0f};
constexpr Color4 colorBlue = {0.0f, 0.0f, 1.0f, 0.0f};
constexpr Color4 colorBlack = {0.0f, 0.0f, 0.0f, 0.0f};

constexpr int paletteSize = 21;
// Colours by curve or mass number; the charts use entries 0 to 2.
extern const Color4 curvePalette[paletteSize];

// Stride between the rows of the time-chart sample array.
constexpr int sampledCurveStride = timeRingLength;

// Model units to window units: scaled by 400 and back, so they coincide.
double toDevice(double v);

void drawSegment(const Point2* from, const Point2* to, const Color4* color);
// The segments between consecutive points of points[0..count-1] in one run: the same
// pixels as a drawSegment each, in a single draw.
void drawPolyline(const Point2* points, int count, const Color4* color);
// Filled 100-gon of the given radius.
void drawDisc(const Point2* center, double radius, const Color4* color);
// Filled barbed arrow with its tip at tip, pointing along angle [rad].
void drawArrow(const Point2* tip, double length, double angle, const Color4* color);
// Black lines through center, 20 units long, width 2 (left in force).
void drawAxesCross(const Point2* center, double angle);
// 2*halfCount+1 black lines each way, width 1 (left in force).
void drawGrid(const Point2* center, double angle, int halfCount, double spacingX, double spacingY);
// rows x columns filled rectangles of width by height from corner (their lower left
// corner) to the right and upwards, cell (r, c) in colors[r * columns + c].
void drawCells(const Point2* corner, double width, double height, int rows, int columns,
               const Color4* colors);
// Text in the 18-pixel Helvetica bitmap font whose base line starts at (x, y); it takes
// the current raster colour.
void drawText(float x, float y, const char* text);
// The same text on a white box just large enough for it (reaching left to boxLeft when
// that is left of x), so that lines drawn before it do not cross it.
void drawTextOnWhite(float x, float y, const char* text, float boxLeft = 1.0f);
// Points 0..count-1 of curve joined by segments, broken where amplitude < 0 or NaN.
void drawGappedCurve(const Point2* origin, double scaleX, double scaleY, int count,
                     const AmplitudeCurve* curve, const Color4* color);
// Samples 0..lastIndex joined by segments, abscissa advancing by stepX.
void drawSampledCurve(const Point2* origin, double stepX, double scaleY, int lastIndex,
                      const double* samples, const Color4* color);
// curveCount sampled curves at base + j*stride, in palette colour j.
void drawSampledCurves(const Point2* origin, double stepX, const double* scales, int curveCount,
                       int lastIndex, const double* base, int stride);

} // namespace fv
