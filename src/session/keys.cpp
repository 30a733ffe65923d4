// Keyboard commands: the zoom keys scale the chart axes by 0.9 (zoom out multiplies,
// zoom in divides, a true division), 'a' fits the vertical scales to the entered curves,
// the dialogue keys restart the clock, ESC ends; 'e' shows or hides the exact dots and
// 'g' swaps the frequency chart for the regime map, each computed the first time for a
// system.
#include "session/keys.h"

#include <cmath>

#include "session/background.h"
#include "session/views.h"

namespace fv {

namespace {

constexpr double windowRight = 1.0; // window coordinates of the right and top edges
constexpr double windowTop = 1.0;

// Samples of the steady orbit the panels draw: smooth at the window's size.
constexpr int cycleSamples = 721;

bool sameInput(const PhysicalSystem& a, const PhysicalSystem& b) {
    return a.m == b.m && a.lambda == b.lambda && a.K == b.K && a.F == b.F && a.omf == b.omf &&
           a.Fric == b.Fric && a.Fs == b.Fs;
}

// Sets the time-chart sample width; refused when the ring could not hold the chart.
void setTimeAxisScale(View& v, double scale) {
    const double capacity = 1.0 / scale;
    if (!(capacity < maxTimeRingCapacity + 1.0)) {
        return; // trunc(capacity) would exceed the ring's last index
    }
    v.timeAxisScale = scale;
    v.timeRingCapacity = static_cast<int>(1.0 / v.timeAxisScale);
}

// Every vertical scale (those that 'y' and 'Y' change) times or over factor.
void scaleVertical(View& v, double factor, bool shrink) {
    if (shrink) {
        v.verticalScale = v.verticalScale * factor;
        for (double& s : v.curveScale) {
            s = s * factor;
        }
    } else {
        v.verticalScale = v.verticalScale / factor;
        for (double& s : v.curveScale) {
            s = s / factor;
        }
    }
}

// The highest amplitude of curve among the points the chart draws inside the window
// (0 to sweepCount - 1, at x <= 1), or 0 when it draws none there.
double highestShown(const State& s, const AmplitudeCurve& curve) {
    double highest = 0.0;
    const double perRatio = s.view.freqAxisScale / s.chart.ratioStep;
    for (int i = 0; i < s.chart.sweepCount && i < curveCapacity; ++i) {
        const double a = curve.amplitude[i];
        const double x = s.view.freqChartOrigin.x + curve.ratio[i] * perRatio;
        if (a >= 0.0 && std::isfinite(a) && x <= windowRight && a > highest) {
            highest = a;
        }
    }
    return highest;
}

// Every vertical scale by one factor, so that the highest point of the entered damping
// ratio's curves in the chart sits at fitHeight of the chart's height. Nothing changes
// where no such point is above the axis.
void fitVerticalScale(State& s) {
    const double highest = std::fmax(highestShown(s, s.chart.continuousCurve),
                                     highestShown(s, s.chart.stickSlipCurve));
    const double factor =
        fitHeight * (windowTop - s.view.freqChartOrigin.y) / (highest * s.view.verticalScale);
    if (!(highest > 0.0) || !std::isfinite(factor) || !(factor > 0.0)) {
        return;
    }
    scaleVertical(s.view, factor, true);
}

} // namespace

void prepareCycle(State& s) {
    CycleKeep& k = s.session.cycle;
    if (s.view.panel == Panel::none || (k.ready && sameInput(k.system, s.input))) {
        return;
    }
    k.cycle = enteredCycle(s.input, s.derived, cycleSamples);
    k.system = s.input;
    k.ready = true;
}

void prepareExactDots(State& s) {
    prepareCycle(s);
    if (exactDotsShown(s) && !exactDotsCurrent(s)) {
        computeExactDots(closedFormSystem(s), &s.session.exactDots);
        s.session.exactDotsReady = true;
    }
}

void prepareRegimeMap(State& s) {
    if (s.view.showRegimeMap && !regimeMapCurrent(s)) {
        computeRegimeMap(regimeSystem(s.derived), &s.session.regimeMap);
        s.session.regimeMapReady = true;
    }
}

void startShownWork(State& s) {
    prepareCycle(s);
    if (exactDotsShown(s) && !exactDotsCurrent(s)) {
        startExactDotsJob(s.session, closedFormSystem(s));
    }
    if (s.view.showRegimeMap && !regimeMapCurrent(s)) {
        startRegimeMapJob(s.session, regimeSystem(s.derived));
    }
}

bool isViewKey(unsigned char key) {
    const WindowKey* row = findWindowKey(key);
    return row != nullptr && row->view;
}

KeyAction applyKey(State& s, unsigned char key) {
    View& v = s.view;
    s.session.currentKey = static_cast<char>(key);
    switch (key) {
    case 't':
        setTimeAxisScale(v, v.timeAxisScale * zoomFactor);
        return KeyAction::redraw;
    case 'T':
        setTimeAxisScale(v, v.timeAxisScale / zoomFactor);
        return KeyAction::redraw;
    case 'y':
        scaleVertical(v, zoomFactor, true);
        return KeyAction::redraw;
    case 'Y':
        scaleVertical(v, zoomFactor, false);
        return KeyAction::redraw;
    case 'z':
        v.freqAxisScale = v.freqAxisScale * zoomFactor;
        return KeyAction::redraw;
    case 'Z':
        v.freqAxisScale = v.freqAxisScale / zoomFactor;
        return KeyAction::redraw;
    case 'm':
    case 'f':
    case 'r':
    case 'j':
        s.motion.simTime = 0.0;
        s.session.playback.playing = false; // and it stays stopped after the dialogue
        return KeyAction::console;
    case playbackKey:
        return KeyAction::playback;
    case escapeKey:
        return KeyAction::quit;
    case pictureKey:
        return KeyAction::picture;
    case exactDotsKey:
        v.showExactDots = !v.showExactDots;
        return KeyAction::redraw;
    case regimeMapKey:
        v.showRegimeMap = v.panel == Panel::none ? !v.showRegimeMap : true;
        v.panel = Panel::none;
        return KeyAction::redraw;
    case clearViewKey:
        v.clear = !v.clear;
        return KeyAction::redraw;
    case phasePlaneKey:
        v.panel = v.panel == Panel::phasePlane ? Panel::none : Panel::phasePlane;
        prepareCycle(s);
        return KeyAction::redraw;
    case energyKey:
        v.panel = v.panel == Panel::energy ? Panel::none : Panel::energy;
        prepareCycle(s);
        return KeyAction::redraw;
    case fitKey:
        fitVerticalScale(s);
        return KeyAction::redraw;
    default:
        return KeyAction::redraw; // 's' and every unlisted key
    }
}

} // namespace fv
