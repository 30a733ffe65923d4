// Display composition: the order of one frame. Later drawing covers earlier drawing;
// depth testing is never enabled.
#include "graphics/display.h"

#include <GL/freeglut_std.h>
#include <GL/gl.h>

#include "graphics/freqview.h"
#include "graphics/gl_port.h"
#include "graphics/regimeview.h"
#include "graphics/scene_gl.h"
#include "graphics/timeview.h"
#include "picture/clear.h"

namespace fv {

namespace {

constexpr int mechanismMasses = 1;

// The classic picture of the current state. The right half holds the frequency chart,
// drawn over the mechanism, or the regime map or a panel, drawn under it so that the
// motion stays in sight.
void drawClassicScene(const State& s) {
    const View& v = s.view;
    setViewport(0, 0, glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
    const bool panel = v.panel != Panel::none;
    if (panel) {
        const float width = currentLineWidth();
        drawSceneGL(panelPicture(s));
        setLineWidth(width);
    } else if (v.showRegimeMap) {
        drawRegimeView(s);
    }
    drawMechanism(&v.mechanismOrigin, v.verticalScale, mechanismMasses, s.motion.stateY);
    drawForceArrow(s);
    drawTimeLegend();
    drawTimeChart(s);
    if (panel) {
        return;
    }
    if (!v.showRegimeMap) {
        drawFreqLegend();
        drawFreqMarkers(s);
        drawFreqCurves(s);
        drawExactDots(s);
    } else {
        drawRegimeLegend(s);
    }
}

// The picture in the view the state asks for; the clear one keeps its aspect in a
// window of any shape.
void drawScene(const State& s) {
    if (!s.view.clear) {
        drawClassicScene(s);
        return;
    }
    // The classic picture draws its first lines at the width the previous frame left:
    // the clear one leaves the width it found, so that 'c' back gives the classic frames.
    const float width = currentLineWidth();
    setSquareViewport(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
    drawSceneGL(clearPicture(s));
    setLineWidth(width);
}

} // namespace

void beginFrame() {
    beginLabels();
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
