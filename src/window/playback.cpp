// Playback. Frames keep a cadence of playbackFrameMs; a frame that ends after the next
// one was due schedules the next from when it was drawn, so a slow machine gets fewer
// frames instead of a queue of them. Each start opens a new run, so a timer left from
// a run that was stopped and started again draws nothing.
#include "window/playback.h"

#include <GL/freeglut.h>

#include "window/window.h"

namespace fv {

void playbackTick(int generation) {
    WindowContext* c = windowContext();
    if (c == nullptr) {
        return;
    }
    Playback& p = c->state->session.playback;
    if (!p.playing || generation != p.generation) {
        return;
    }
    display();
    const int now = glutGet(GLUT_ELAPSED_TIME);
    p.nextFrameDueMs = p.nextFrameDueMs + playbackFrameMs;
    if (p.nextFrameDueMs <= now) {
        p.nextFrameDueMs = now + playbackFrameMs; // late: no catching up
    }
    glutTimerFunc(static_cast<unsigned>(p.nextFrameDueMs - now), playbackTick, generation);
}

void togglePlayback(Playback* p) {
    if (p->playing) {
        p->playing = false;
        return;
    }
    p->playing = true;
    p->generation = p->generation + 1;
    p->nextFrameDueMs = glutGet(GLUT_ELAPSED_TIME);
    playbackTick(p->generation);
}

} // namespace fv
