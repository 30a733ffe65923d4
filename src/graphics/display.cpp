// Display composition: the order of one frame. Later drawing covers earlier drawing;
// depth testing is never enabled.
#include "graphics/display.h"

#include "control/params.h"
#include "graphics/freqview.h"
#include "graphics/timeview.h"
#include "graphics/window.h"
#include "timeresp/integrate.h"

namespace fv {

namespace {

constexpr int mechanismMasses = 1;

} // namespace

void drawFrame() {
    beginFrame();
    advanceFrame();
    drawMechanism(&mechanismOrigin, verticalScale, mechanismMasses, stateY);
    drawForceArrow();
    drawTimeLegend();
    recordTimeSample();
    drawTimeChart();
    drawFreqLegend();
    drawFreqMarkers();
    drawFreqCurves();
}

void display() {
    drawFrame();
    endFrame();
}

} // namespace fv
