// Playback. Frames keep a cadence of playbackFrameMs; a frame that ends after the next
// one was due schedules the next from when it was drawn, so a slow machine gets fewer
// frames instead of a queue of them. Each start opens a new run, so a timer left from
// a run that was stopped and started again draws nothing.
#include "graphics/playback.h"

#include <GL/freeglut.h>

#include "control/params.h"
#include "graphics/display.h"

namespace fv {

void playbackTick(int generation) {
    if (!playing || generation != playbackGeneration) {
        return;
    }
    display();
    const int now = glutGet(GLUT_ELAPSED_TIME);
    nextFrameDueMs = nextFrameDueMs + playbackFrameMs;
    if (nextFrameDueMs <= now) {
        nextFrameDueMs = now + playbackFrameMs; // late: no catching up
    }
    glutTimerFunc(static_cast<unsigned>(nextFrameDueMs - now), playbackTick, generation);
}

void togglePlayback() {
    if (playing) {
        playing = false;
        return;
    }
    playing = true;
    playbackGeneration = playbackGeneration + 1;
    nextFrameDueMs = glutGet(GLUT_ELAPSED_TIME);
    playbackTick(playbackGeneration);
}

} // namespace fv
