// Playback in the window: the frames of a run drawn on GLUT's timers, at the cadence
// the session keeps.
#include "window/playback.h"

#include <GL/freeglut.h>

#include "session/playback.h"
#include "window/window.h"

namespace fv {

void playbackTick(int generation) {
    WindowContext* c = windowContext();
    if (c == nullptr) {
        return;
    }
    Playback& p = c->state->session.playback;
    if (!playbackRunCurrent(p, generation)) {
        return;
    }
    display();
    glutTimerFunc(nextPlaybackFrameDelay(&p, glutGet(GLUT_ELAPSED_TIME)), playbackTick, generation);
}

void togglePlayback(Playback* p) {
    if (togglePlaybackRun(p, glutGet(GLUT_ELAPSED_TIME))) {
        playbackTick(p->generation);
    }
}

} // namespace fv
