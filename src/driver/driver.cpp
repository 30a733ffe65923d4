// The front ends' driver. Where the program has threads (the desktop) the work runs on
// them and the progress timer only collects and shows it; where it has none (the
// browser) the same timer also works it in short slices between the events, so that the
// page answers meanwhile. Progress is drawn at a steady cadence, and at once when the
// work ends; while the motion plays, its own frames show it.
#include "driver/driver.h"

#include <GL/glut.h>

#include "session/background.h"
#include "session/motion.h"
#include "session/playback.h"

namespace fv {

namespace {

constexpr unsigned sliceTickMs = 1;       // pause between slices (a browser waits 4 ms at least)
constexpr unsigned progressFrameMs = 100; // how often the progress of the work is drawn [ms]
constexpr double workSliceSeconds = 0.02; // a slice of work on the event loop's thread [s]

void workTick(int /*value*/) {
    DriverContext* c = driverContext();
    if (c == nullptr) {
        return;
    }
    State& s = *c->state;
    const bool partsLeft = stepBackgroundWork(s.session, workSliceSeconds);
    const int now = glutGet(GLUT_ELAPSED_TIME);
    c->workUnshown = collectBackgroundWork(s.session) || c->workUnshown;
    s.session.work.ticking = backgroundWorkRunning(s.session);
    const bool progressDue =
        !s.session.playback.playing && now - c->workDrawnMs >= static_cast<int>(progressFrameMs);
    if (c->workUnshown && (!s.session.work.ticking || progressDue)) {
        if (frameShowsWork(s, *c->frame)) {
            redrawLastFrame(s, *c->frame);
            c->ops->endFrame();
        }
        c->workUnshown = false;
        c->workDrawnMs = now;
    }
    if (s.session.work.ticking) {
        glutTimerFunc(partsLeft ? sliceTickMs : c->ops->workPollMs, workTick, 0);
    }
}

} // namespace

bool stepFrame(State& s, FrameRecord* frame) {
    if (!stepMotion(s)) {
        return false;
    }
    collectBackgroundWork(s.session); // a finished map or set of dots is drawn whole
    drawFrame(s, frame);
    return true;
}

void driverFrame(DriverContext& c) {
    if (!stepFrame(*c.state, c.frame)) {
        c.ops->frameFailed(c.state);
        return;
    }
    c.ops->endFrame();
}

KeyAction driverKey(DriverContext& c, unsigned char key) {
    State& s = *c.state;
    const KeyAction action = applyKey(s, key);
    switch (action) {
    case KeyAction::redraw:
        startShownWork(s); // before the frame, which shows that it is under way
        driverFrame(c);
        watchWork(c);
        break;
    case KeyAction::playback:
        togglePlayback(c);
        break;
    default:
        break; // the front end's
    }
    return action;
}

void beforeDialogue(DriverContext& c) {
    cancelBackgroundWork(c.state->session);
}

void afterDialogue(DriverContext& c) {
    c.frame->current = false; // the picture stays until the next frame
    startShownWork(*c.state);
    watchWork(c);
}

void watchWork(DriverContext& c) {
    Session& session = c.state->session;
    if (!session.work.ticking && backgroundWorkRunning(session)) {
        session.work.ticking = true;
        c.workDrawnMs = glutGet(GLUT_ELAPSED_TIME);
        glutTimerFunc(sliceTickMs, workTick, 0);
    }
}

void togglePlayback(DriverContext& c) {
    Playback& p = c.state->session.playback;
    if (togglePlaybackRun(&p, glutGet(GLUT_ELAPSED_TIME))) {
        playbackTick(p.generation);
    }
}

void playbackTick(int generation) {
    DriverContext* c = driverContext();
    if (c == nullptr) {
        return;
    }
    Playback& p = c->state->session.playback;
    if (!playbackRunCurrent(p, generation)) {
        return;
    }
    driverFrame(*c);
    glutTimerFunc(nextPlaybackFrameDelay(&p, glutGet(GLUT_ELAPSED_TIME)), playbackTick, generation);
}

} // namespace fv
