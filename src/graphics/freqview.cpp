// Frequency-characteristic chart. A ratio r and an amplitude a are drawn at
// x = origin.x + r * freqAxisScale / ratioStep, y = origin.y + a * verticalScale;
// the chart only reads the curves the console dialogue computed.
#include "graphics/freqview.h"

#include <GL/freeglut.h>
#include <cmath>

#include "control/background.h"
#include "control/keys.h"
#include "control/params.h"
#include "graphics/primitives.h"

namespace fv {

namespace {

constexpr float legendX = -0.05f;
constexpr double givenPointRadius = 0.01;   // window units
constexpr double verticalLineHeight = 10.0; // reaches far beyond the top of the window
// An exact dot is a filled disc 7.2 pixels across in a white ring 9.2 pixels across, so
// that it stands out on a curve of its own colour and on the white background.
constexpr double exactDotRadius = 0.009;      // window units
constexpr double exactDotRingRadius = 0.0115; // window units
constexpr float dotLegendY = -0.35f;          // the line under the chart's legend
constexpr Color4 colorWhite = {1.0f, 1.0f, 1.0f, 0.0f};
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

void drawRingedDot(const Point2* p, const Color4* color) {
    drawDisc(p, exactDotRingRadius, &colorWhite);
    drawDisc(p, exactDotRadius, color);
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
    if (!showExactDots) {
        return;
    }
    const ClosedFormSystem system = currentClosedFormSystem();
    const bool complete = exactDotsCurrent();
    const ExactDots* dots = complete ? &exactDots : exactDotsJobValues();
    if (dots == nullptr || !(complete || exactDotsJobProgress(system).running)) {
        return;
    }
    const double sx = freqAxisScale / ratioStep;
    for (int k = 0; k < exactDotCount; ++k) {
        const ExactSteady& s = dots->steady[k];
        if (!(complete || exactDotDone(k)) || s.atRest || !std::isfinite(s.amplitude)) {
            continue; // not computed yet, or a mass that never moves: no amplitude to show
        }
        const Point2 p = {freqChartOrigin.x + exactDotRatio(k) * sx,
                          freqChartOrigin.y + s.amplitude * verticalScale};
        drawRingedDot(&p, exactDotColor(s));
    }
    const Point2 sample = {legendX + exactDotRingRadius, dotLegendY + 0.012};
    drawRingedDot(&sample, &colorBlack);
    drawText(legendX + 3.0f * static_cast<float>(exactDotRingRadius), dotLegendY,
             GLUT_BITMAP_HELVETICA_18, "exact: black 0, blue 1-2, magenta 3+ stops");
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
