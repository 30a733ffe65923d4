// Time-response view. The chart is a sweep: one sample per frame to the right of the
// trace, and after the sample at timeRingCapacity the trace restarts at the left.
#include "graphics/timeview.h"

#include <GL/gl.h>
#include <cmath>

#include "common/constants.h"
#include "graphics/primitives.h"
#include "timeresp/integrate.h"

namespace fv {

namespace {

constexpr double anchorRadius = 0.01;   // window units
constexpr double massRadius = 0.04;     // window units
constexpr double forceArrowScale = 0.3; // arrow length per unit of sin(omf t)
constexpr double arrowOffset = 0.04;    // the tip touches the rim of the mass
constexpr int gridHalfCount = 30;
constexpr double gridCellSeconds = 2.0; // one grid cell is 2 s wide
constexpr double gridCellMetres = 0.2;  // and 0.2 m high
constexpr double gridHalfSpanSeconds =
    60.0; // 30 cells of 2 s between the centre and the right edge
constexpr float legendX = -0.95f;

} // namespace

void drawMechanism(const Point2* anchor, double scale, int massCount, const double* displacements) {
    const double dx = (mechanismRightX - anchor->x) / (massCount + 1);
    Point2 p = *anchor;
    for (int i = 0; i < massCount; ++i) {
        const Point2 q = {p.x + dx, scale * displacements[i] + anchor->y};
        drawSegment(&p, &q, &colorRed);
        p = q;
    }
    const Point2 right = {mechanismRightX, anchor->y};
    drawSegment(&p, &right, &colorRed);
    drawDisc(anchor, anchorRadius, &colorRed);
    drawDisc(&right, anchorRadius, &colorRed);
    Point2 mass = {anchor->x, 0.0};
    for (int i = 0; i < massCount; ++i) {
        mass.x = mass.x + dx;
        mass.y = scale * displacements[i] + anchor->y;
        drawDisc(&mass, massRadius, &curvePalette[i % paletteSize]);
    }
    glFlush();
}

void drawForceArrow(const State& s) {
    const View& v = s.view;
    const double d =
        timeSample(motionParams(s), motionState(s)).forcePhase * forceArrowScale * v.curveScale[0];
    double angle = -halfPi;
    double offset = -arrowOffset;
    if (d >= 0.0) {
        angle = halfPi;
        offset = arrowOffset;
    }
    const Point2 tip = {v.mechanismOrigin.x + (mechanismRightX - v.mechanismOrigin.x) * 0.5,
                        s.motion.stateY[0] * v.curveScale[0] + v.mechanismOrigin.y - offset};
    drawArrow(&tip, std::fabs(d), angle, &colorGreen);
}

void drawTimeLegend() {
    drawText(legendX, 0.95f, "red   : response y(t)");
    drawText(legendX, 0.9f, "green : external force f(t)/K");
    drawText(legendX, 0.85f, "blue  : friction force Fr(t)/K");
    drawText(legendX, 0.8f, "1grid=(2s, 0.2m)");
}

void drawTimeChart(const State& s) {
    const View& v = s.view;
    drawAxesCross(&v.timeChartOrigin, 0.0);
    const double sampleTime = stepsPerFrame * timeStep;
    const double cell = gridCellSeconds * v.timeAxisScale / sampleTime;
    const Point2 centre = {v.mechanismOrigin.x - gridHalfSpanSeconds * v.timeAxisScale / sampleTime,
                           v.mechanismOrigin.y};
    drawGrid(&centre, 0.0, gridHalfCount, cell, gridCellMetres * v.verticalScale);
    drawSampledCurves(&v.timeChartOrigin, v.timeAxisScale, v.curveScale, timeRingRows,
                      s.motion.timeRingIndex, &s.motion.timeCurves[0][0], sampledCurveStride);
}

} // namespace fv
