// Display composition: the order of one frame. Later drawing covers earlier drawing;
// depth testing is never enabled.
#include "graphics/display.h"

#include <GL/gl.h>

#include "control/background.h"
#include "control/params.h"
#include "graphics/freqview.h"
#include "graphics/regimeview.h"
#include "graphics/timeview.h"
#include "graphics/window.h"
#include "timeresp/integrate.h"

namespace fv {

namespace {

constexpr int mechanismMasses = 1;

// The picture of the current state; with recordSample, the frame's sample joins the
// strip chart where the frame order puts it. The right half holds the frequency chart,
// drawn over the mechanism, or the regime map, drawn under it so that the motion stays
// in sight.
void drawScene(bool recordSample) {
    collectBackgroundWork(); // a finished map or set of dots is drawn whole
    if (showRegimeMap) {
        drawRegimeView();
    }
    drawMechanism(&mechanismOrigin, verticalScale, mechanismMasses, stateY);
    drawForceArrow();
    drawTimeLegend();
    if (recordSample) {
        recordTimeSample();
    }
    drawTimeChart();
    if (!showRegimeMap) {
        drawFreqLegend();
        drawFreqMarkers();
        drawFreqCurves();
        drawExactDots();
    } else {
        drawRegimeLegend();
    }
}

} // namespace

void drawFrame() {
    glGetFloatv(GL_LINE_WIDTH, &frameStartLineWidth);
    beginFrame();
    advanceMotion();
    drawScene(true);
    frameCurrent = true;
}

void redrawLastFrame() {
    glLineWidth(frameStartLineWidth);
    beginFrame();
    drawScene(false);
}

void display() {
    drawFrame();
    endFrame();
}

} // namespace fv
