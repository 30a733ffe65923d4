// Frequency-characteristic chart. A ratio r and an amplitude a are drawn at
// x = origin.x + r * freqAxisScale / ratioStep, y = origin.y + a * verticalScale;
// the chart only reads the curves the console dialogue computed.
#include "graphics/freqview.h"

#include <cmath>
#include <vector>

#include "graphics/primitives.h"
#include "session/background.h"
#include "session/keys.h"

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
constexpr float growsLegendY = -0.40f;        // and the line under that
constexpr float staticLegendY = -0.45f;       // and the one under that
// A motion that grows without bound has no amplitude: its dot stands at the top of the
// window, above every amplitude the chart can show there.
constexpr double growsDotY = 0.96; // window units
constexpr Color4 colorWhite = {1.0f, 1.0f, 1.0f, 0.0f};
constexpr Color4 colorMagenta = {1.0f, 0.0f, 1.0f, 0.0f};
constexpr Color4 colorGrey = {0.5f, 0.5f, 0.5f, 0.0f};
constexpr Color4 colorGrows = {0.15f, 0.55f, 0.55f, 0.0f}; // as in the regime map

// The colour of a dot by the kind of motion it stands for.
const Color4* exactDotColor(const ExactSteady& s) {
    switch (steadyKind(s)) {
    case SteadyKind::grows:
        return &colorGrows;
    case SteadyKind::unsettled:
        return &colorGrey;
    case SteadyKind::atRest: // never shown: a mass that never moves has no dot
    case SteadyKind::neverStops:
        return &colorBlack;
    case SteadyKind::fewStops:
        return &colorBlue;
    default:
        return &colorMagenta;
    }
}

void drawRingedDot(const Point2* p, const Color4* color) {
    drawDisc(p, exactDotRingRadius, &colorWhite);
    drawDisc(p, exactDotRadius, color);
}

} // namespace

void drawFreqLegend() {
    drawText(legendX, -0.15f, "zeta={0 0.02 0.05 0.1 0.2 0.5 1 2 5 10}");
    drawText(legendX, -0.2f, "red curve : given zeta,  red point:given omf");
    drawText(legendX, -0.25f, "blue:stickslip vibration,  black:continuous vibration");
    drawText(legendX, -0.3f, "green line : resonant frequency");
}

void drawFreqMarkers(const State& s) {
    const View& v = s.view;
    const double perRatio = v.freqAxisScale / s.chart.ratioStep;
    const Point2 p = {v.freqAxisScale * s.derived.givenRatio / s.chart.ratioStep +
                          v.freqChartOrigin.x,
                      v.verticalScale * s.derived.givenPointAmplitude + v.freqChartOrigin.y};
    drawDisc(&p, givenPointRadius, &colorRed);
    const Point2 redBottom = {p.x, v.freqChartOrigin.y};
    const Point2 redTop = {p.x, v.freqChartOrigin.y + verticalLineHeight};
    drawSegment(&redBottom, &redTop, &colorRed);
    const double xr = perRatio + v.freqChartOrigin.x;
    const Point2 greenBottom = {xr, v.freqChartOrigin.y};
    const Point2 greenTop = {xr, v.freqChartOrigin.y + verticalLineHeight};
    drawSegment(&greenBottom, &greenTop, &colorGreen);
}

void drawExactDots(const State& s) {
    const View& v = s.view;
    std::vector<ShownDot> dots;
    if (!shownExactDots(s, &dots)) {
        return;
    }
    const double sx = v.freqAxisScale / s.chart.ratioStep;
    bool growth = false;
    for (const ShownDot& dot : dots) {
        const ExactSteady& e = dot.steady;
        growth = growth || e.grows;
        const double y = e.grows ? growsDotY : v.freqChartOrigin.y + e.amplitude * v.verticalScale;
        const Point2 p = {v.freqChartOrigin.x + dot.ratio * sx, y};
        drawRingedDot(&p, exactDotColor(e));
    }
    const Point2 sample = {legendX + exactDotRingRadius, dotLegendY + 0.012};
    drawRingedDot(&sample, &colorBlack);
    const float textX = legendX + 3.0f * static_cast<float>(exactDotRingRadius);
    drawText(textX, dotLegendY, "exact: black 0, blue 1-2, magenta 3+ stops");
    if (growth) {
        const Point2 mark = {legendX + exactDotRingRadius, growsLegendY + 0.012};
        drawRingedDot(&mark, &colorGrows);
        drawText(textX, growsLegendY, "at the top: grows without bound");
    }
    if (s.derived.Ys > s.derived.Yc) {
        drawText(textX, staticLegendY, "Fs>Fric: dots where no closed form holds");
    }
}

void drawFreqCurves(const State& s) {
    const View& v = s.view;
    const Chart& c = s.chart;
    const double sx = v.freqAxisScale / c.ratioStep;
    const int n = c.sweepCount;
    drawGappedCurve(&v.freqChartOrigin, sx, v.verticalScale, n, &c.continuousCurve, &colorRed);
    drawGappedCurve(&v.freqChartOrigin, sx, v.verticalScale, n, &c.stickSlipCurve, &colorRed);
    for (int k = 0; k < familySize; ++k) {
        drawGappedCurve(&v.freqChartOrigin, sx, v.verticalScale, n, &c.continuousCurves[k],
                        &colorBlack);
        drawGappedCurve(&v.freqChartOrigin, sx, v.verticalScale, n, &c.stickSlipCurves[k],
                        &colorBlue);
    }
}

} // namespace fv
