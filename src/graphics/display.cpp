// Display composition: the order of one frame. Later drawing covers earlier drawing;
// depth testing is never enabled.
#include "graphics/display.h"

#include <GL/gl.h>

#include "graphics/freqview.h"
#include "graphics/gl_port.h"
#include "graphics/regimeview.h"
#include "graphics/timeview.h"

namespace fv {

namespace {

constexpr int mechanismMasses = 1;

// The picture of the current state. The right half holds the frequency chart, drawn
// over the mechanism, or the regime map, drawn under it so that the motion stays in
// sight.
void drawScene(const State& s) {
    const View& v = s.view;
    if (v.showRegimeMap) {
        drawRegimeView(s);
    }
    drawMechanism(&v.mechanismOrigin, v.verticalScale, mechanismMasses, s.motion.stateY);
    drawForceArrow(s);
    drawTimeLegend();
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

void drawFrame(const State& s, FrameRecord* frame) {
    frame->startLineWidth = currentLineWidth();
    beginFrame();
    drawScene(s);
    frame->current = true;
}

bool frameShowsWork(const State& s, const FrameRecord& frame) {
    return frame.current && (s.view.showRegimeMap || exactDotsShown(s));
}

void redrawLastFrame(const State& s, const FrameRecord& frame) {
    setLineWidth(frame.startLineWidth);
    beginFrame();
    drawScene(s);
}

} // namespace fv
