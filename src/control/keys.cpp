// Keyboard commands: the zoom keys scale the chart axes by 0.9 (zoom out multiplies,
// zoom in divides, a true division), the dialogue keys restart the clock, ESC ends;
// 'e' shows or hides the exact dots, computing them the first time for a system, and
// 'g' swaps the frequency chart for the regime map, computed the first time for a zeta.
#include "control/keys.h"

#include "control/params.h"

namespace fv {

namespace {

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
        prepareExactDots();
        return KeyAction::redraw;
    case regimeMapKey:
        showRegimeMap = !showRegimeMap;
        prepareRegimeMap();
        return KeyAction::redraw;
    default:
        return KeyAction::redraw; // 's' and every unlisted key
    }
}

} // namespace fv
