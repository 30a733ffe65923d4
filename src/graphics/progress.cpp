// Progress of the work off the event loop. The last frame is drawn again only while it
// shows the parameter set as it is, and only when the part it shows has changed: after
// a return to the console the window keeps its last picture until the next frame.
#include "graphics/progress.h"

#include <GL/freeglut.h>

#include "control/background.h"
#include "control/params.h"
#include "graphics/display.h"
#include "graphics/window.h"

namespace fv {

namespace {

bool ticking = false;

void progressTick(int /*value*/) {
    if (collectBackgroundWork() && frameCurrent && (showRegimeMap || showExactDots)) {
        redrawLastFrame();
        endFrame();
    }
    ticking = backgroundWorkRunning();
    if (ticking) {
        glutTimerFunc(progressTickMs, progressTick, 0);
    }
}

} // namespace

void watchBackgroundWork() {
    if (!ticking && backgroundWorkRunning()) {
        ticking = true;
        glutTimerFunc(progressTickMs, progressTick, 0);
    }
}

} // namespace fv
