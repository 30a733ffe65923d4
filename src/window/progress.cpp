// Progress of the work off the event loop. The last frame is drawn again only while it
// shows the parameter set as it is, and only when the part it shows has changed: after
// a return to the console the window keeps its last picture until the next frame.
#include "window/progress.h"

#include <GL/freeglut.h>

#include "graphics/display.h"
#include "session/background.h"
#include "window/window.h"

namespace fv {

namespace {

void progressTick(int /*value*/) {
    WindowContext* c = windowContext();
    if (c == nullptr) {
        return;
    }
    State& s = *c->state;
    if (collectBackgroundWork(s.session) && s.view.frameCurrent &&
        (s.view.showRegimeMap || s.view.showExactDots)) {
        redrawLastFrame(s);
        endFrame();
    }
    s.session.work.ticking = backgroundWorkRunning(s.session);
    if (s.session.work.ticking) {
        glutTimerFunc(progressTickMs, progressTick, 0);
    }
}

} // namespace

void watchBackgroundWork(Session& session) {
    if (!session.work.ticking && backgroundWorkRunning(session)) {
        session.work.ticking = true;
        glutTimerFunc(progressTickMs, progressTick, 0);
    }
}

} // namespace fv
