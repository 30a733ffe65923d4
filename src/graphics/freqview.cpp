// Frequency-characteristic chart. A ratio r and an amplitude a are drawn at
// x = origin.x + r * freqAxisScale / ratioStep, y = origin.y + a * verticalScale;
// the chart only reads the curves the console dialogue computed.
#include "graphics/freqview.h"

#include <GL/freeglut.h>
#include <cmath>

#include "control/keys.h"
#include "control/params.h"
#include "graphics/primitives.h"

namespace fv {

namespace {

constexpr float legendX = -0.05f;
constexpr double givenPointRadius = 0.01;   // window units
constexpr double verticalLineHeight = 10.0; // reaches far beyond the top of the window
constexpr double exactDotRadius = 0.008;    // window units: smaller than the red point
constexpr Color4 colorMagenta = {1.0f, 0.0f, 1.0f, 0.0f};
constexpr Color4 colorGrey = {0.5f, 0.5f, 0.5f, 0.0f};

// The colour of a dot by the kind of motion it stands for.
const Color4* exactDotColor(const ExactSteady& s) {
    if (!s.converged) {
        return &colorGrey;
    }
    if (s.stopsPerCycle == 0) {
        return &colorBlack;
    }
    return s.stopsPerCycle <= 2 ? &colorBlue : &colorMagenta;
}

} // namespace

void drawFreqLegend() {
    drawText(legendX, -0.15f, GLUT_BITMAP_HELVETICA_18, "zeta={0 0.02 0.05 0.1 0.2 0.5 1 2 5 10}");
    drawText(legendX, -0.2f, GLUT_BITMAP_HELVETICA_18,
             "red curve : given zeta,  red point:given omf");
    drawText(legendX, -0.25f, GLUT_BITMAP_HELVETICA_18,
             "blue:stickslip vibration,  black:continuous vibration");
    drawText(legendX, -0.3f, GLUT_BITMAP_HELVETICA_18, "green line : resonant frequency");
}

void drawFreqMarkers() {
    const Point2 p = {freqAxisScale * givenRatio / ratioStep + freqChartOrigin.x,
                      verticalScale * givenPointAmplitude + freqChartOrigin.y};
    drawDisc(&p, givenPointRadius, &colorRed);
    const Point2 redBottom = {p.x, freqChartOrigin.y};
    const Point2 redTop = {p.x, freqChartOrigin.y + verticalLineHeight};
    drawSegment(&redBottom, &redTop, &colorRed);
    const double xr = freqAxisScale / ratioStep + freqChartOrigin.x;
    const Point2 greenBottom = {xr, freqChartOrigin.y};
    const Point2 greenTop = {xr, freqChartOrigin.y + verticalLineHeight};
    drawSegment(&greenBottom, &greenTop, &colorGreen);
}

void drawExactDots() {
    if (!showExactDots || !exactDotsCurrent()) {
        return;
    }
    const double sx = freqAxisScale / ratioStep;
    for (int k = 0; k < exactDotCount; ++k) {
        const ExactSteady& s = exactDots.steady[k];
        if (s.atRest || !std::isfinite(s.amplitude)) {
            continue; // a mass that never moves has no amplitude to show
        }
        const Point2 p = {freqChartOrigin.x + exactDotRatio(k) * sx,
                          freqChartOrigin.y + s.amplitude * verticalScale};
        drawDisc(&p, exactDotRadius, exactDotColor(s));
    }
}

void drawFreqCurves() {
    const double sx = freqAxisScale / ratioStep;
    drawGappedCurve(&freqChartOrigin, sx, verticalScale, sweepCount, &continuousCurve, &colorRed);
    drawGappedCurve(&freqChartOrigin, sx, verticalScale, sweepCount, &stickSlipCurve, &colorRed);
    for (int k = 0; k < familySize; ++k) {
        drawGappedCurve(&freqChartOrigin, sx, verticalScale, sweepCount, &continuousCurves[k],
                        &colorBlack);
        drawGappedCurve(&freqChartOrigin, sx, verticalScale, sweepCount, &stickSlipCurves[k],
                        &colorBlue);
    }
}

} // namespace fv
