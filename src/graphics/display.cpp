// Display composition: the order of one frame. Later drawing covers earlier drawing;
// depth testing is never enabled.
#include "graphics/display.h"

#include <GL/gl.h>

#include "graphics/freqview.h"
#include "graphics/gl_port.h"
#include "graphics/regimeview.h"
#include "graphics/timeview.h"
#include "session/background.h"
#include "session/motion.h"

namespace fv {

namespace {

constexpr int mechanismMasses = 1;

// The picture of the current state; with recordSample, the frame's sample joins the
// strip chart where the frame order puts it. The right half holds the frequency chart,
// drawn over the mechanism, or the regime map, drawn under it so that the motion stays
// in sight.
void drawScene(State& s, bool recordSample) {
    collectBackgroundWork(s.session); // a finished map or set of dots is drawn whole
    const View& v = s.view;
    if (v.showRegimeMap) {
        drawRegimeView(s);
    }
    drawMechanism(&v.mechanismOrigin, v.verticalScale, mechanismMasses, s.motion.stateY);
    drawForceArrow(s);
    drawTimeLegend();
    if (recordSample) {
        recordTimeSample(s);
    }
    drawTimeChart(s);
    if (!v.showRegimeMap) {
        drawFreqLegend();
        drawFreqMarkers(s);
        drawFreqCurves(s);
        drawExactDots(s);
    } else {
        drawRegimeLegend(s);
    }
}

} // namespace

void beginFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
}

void drawFrame(State& s) {
    s.view.frameStartLineWidth = currentLineWidth();
    beginFrame();
    advanceMotion(s);
    drawScene(s, true);
    s.view.frameCurrent = true;
}

bool redrawForBackgroundWork(State& s) {
    if (collectBackgroundWork(s.session) && s.view.frameCurrent &&
        (s.view.showRegimeMap || s.view.showExactDots)) {
        redrawLastFrame(s);
        return true;
    }
    return false;
}

void redrawLastFrame(State& s) {
    setLineWidth(s.view.frameStartLineWidth);
    beginFrame();
    drawScene(s, false);
}

} // namespace fv
