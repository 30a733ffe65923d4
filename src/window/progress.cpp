// Progress of the work off the event loop: a GLUT timer that, while work is under way,
// has the last frame drawn again as its parts come in.
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
    if (collectBackgroundWork(s.session) && frameShowsWork(s, c->frame)) {
        redrawLastFrame(s, c->frame);
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
