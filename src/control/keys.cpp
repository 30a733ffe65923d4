// Keyboard commands: the zoom keys scale the chart axes by 0.9 (zoom out multiplies,
// zoom in divides, a true division), 'a' fits the vertical scales to the entered curves,
// the dialogue keys restart the clock, ESC ends; 'e' shows or hides the exact dots and
// 'g' swaps the frequency chart for the regime map, each computed the first time for a
// system.
#include "control/keys.h"

#include <cmath>

#include "control/background.h"
#include "control/params.h"

namespace fv {

namespace {

constexpr double windowRight = 1.0; // window coordinates of the right and top edges
constexpr double windowTop = 1.0;

// Sets the time-chart sample width; refused when the ring could not hold the chart.
void setTimeAxisScale(double scale) {
    const double capacity = 1.0 / scale;
    if (!(capacity < maxTimeRingCapacity + 1.0)) {
        return; // trunc(capacity) would exceed the ring's last index
    }
    timeAxisScale = scale;
    timeRingCapacity = static_cast<int>(1.0 / timeAxisScale);
}

void scaleVertical(bool shrink) {
    if (shrink) {
        verticalScale = verticalScale * zoomFactor;
        for (double& s : curveScale) {
            s = s * zoomFactor;
        }
    } else {
        verticalScale = verticalScale / zoomFactor;
        for (double& s : curveScale) {
            s = s / zoomFactor;
        }
    }
}

// The highest amplitude of curve among the points the chart draws inside the window
// (0 to sweepCount - 1, at x <= 1), or 0 when it draws none there.
double highestShown(const AmplitudeCurve& curve) {
    double highest = 0.0;
    const double perRatio = freqAxisScale / ratioStep;
    for (int i = 0; i < sweepCount && i < curveCapacity; ++i) {
        const double a = curve.amplitude[i];
        const double x = freqChartOrigin.x + curve.ratio[i] * perRatio;
        if (a >= 0.0 && std::isfinite(a) && x <= windowRight && a > highest) {
            highest = a;
        }
    }
    return highest;
}

// Every vertical scale (those that 'y' and 'Y' change) by one factor, so that the
// highest point of the entered damping ratio's curves in the chart sits at fitHeight of
// the chart's height. Nothing changes where no such point is above the axis.
void fitVerticalScale() {
    const double highest = std::fmax(highestShown(continuousCurve), highestShown(stickSlipCurve));
    const double factor = fitHeight * (windowTop - freqChartOrigin.y) / (highest * verticalScale);
    if (!(highest > 0.0) || !std::isfinite(factor) || !(factor > 0.0)) {
        return;
    }
    verticalScale = verticalScale * factor;
    for (double& s : curveScale) {
        s = s * factor;
    }
}

} // namespace

bool exactDotsCurrent() {
    return exactDotsReady && sameSystem(exactDots.system, currentClosedFormSystem());
}

void prepareExactDots() {
    if (showExactDots && !exactDotsCurrent()) {
        computeExactDots(currentClosedFormSystem(), &exactDots);
        exactDotsReady = true;
    }
}

bool regimeMapCurrent() {
    return regimeMapReady && sameBits(regimeMap.zeta, zeta);
}

void prepareRegimeMap() {
    if (showRegimeMap && !regimeMapCurrent()) {
        computeRegimeMap(zeta, &regimeMap);
        regimeMapReady = true;
    }
}

void startShownWork() {
    if (showExactDots && !exactDotsCurrent()) {
        startExactDotsJob(currentClosedFormSystem());
    }
    if (showRegimeMap && !regimeMapCurrent()) {
        startRegimeMapJob(zeta);
    }
}

bool isViewKey(unsigned char key) {
    switch (key) {
    case 's':
    case 't':
    case 'T':
    case 'y':
    case 'Y':
    case 'z':
    case 'Z':
    case fitKey:
    case exactDotsKey:
    case regimeMapKey:
        return true;
    default:
        return false;
    }
}

KeyAction applyKey(unsigned char key) {
    currentKey = static_cast<char>(key);
    switch (key) {
    case 't':
        setTimeAxisScale(timeAxisScale * zoomFactor);
        return KeyAction::redraw;
    case 'T':
        setTimeAxisScale(timeAxisScale / zoomFactor);
        return KeyAction::redraw;
    case 'y':
        scaleVertical(true);
        return KeyAction::redraw;
    case 'Y':
        scaleVertical(false);
        return KeyAction::redraw;
    case 'z':
        freqAxisScale = freqAxisScale * zoomFactor;
        return KeyAction::redraw;
    case 'Z':
        freqAxisScale = freqAxisScale / zoomFactor;
        return KeyAction::redraw;
    case 'm':
    case 'f':
    case 'r':
    case 'j':
        simTime = 0.0;
        playing = false; // and it stays stopped after the dialogue
        return KeyAction::console;
    case playbackKey:
        return KeyAction::playback;
    case escapeKey:
        return KeyAction::quit;
    case pictureKey:
        return KeyAction::picture;
    case exactDotsKey:
        showExactDots = !showExactDots;
        return KeyAction::redraw;
    case regimeMapKey:
        showRegimeMap = !showRegimeMap;
        return KeyAction::redraw;
    case fitKey:
        fitVerticalScale();
        return KeyAction::redraw;
    default:
        return KeyAction::redraw; // 's' and every unlisted key
    }
}

} // namespace fv
