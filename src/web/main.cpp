// The web page's program: the desktop program's state, dialogue, drawing and numerics,
// driven by the page's script. The form's numbers go through the console dialogue as
// typed input and its output comes back as text; the canvas is GLUT's window; the keys
// the canvas receives are the window's keys. Work that would hold the page (the regime
// map, the exact dots) is done in slices between the browser's events.
#include <GL/glut.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <emscripten.h>

#include "console/console.h"
#include "console/dialogue.h"
#include "export/pass_files.h"
#include "export/tables.h"
#include "graphics/display.h"
#include "session/background.h"
#include "session/keys.h"
#include "session/playback.h"

namespace fv {

State state = {};

} // namespace fv

namespace {

constexpr int canvasSize = 800;           // the canvas's drawing buffer [pixels]
constexpr unsigned workTickMs = 1;        // pause between slices (the browser waits at least 4 ms)
constexpr double workSliceSeconds = 0.02; // a slice: leaves the page free between them [s]
constexpr unsigned progressFrameMs = 100; // how often the picture shows the work's progress
constexpr char groupKeys[] = {'m', 'f', 'r', 'j'}; // the window keys of groups (1) to (4)
constexpr int groupCount = 4;
constexpr int regimeFileIndex = fv::passFileCount; // fvFileText's index of the regime map

void endFrame() {
    glFlush();
}

void drawPageFrame(fv::State& s) {
    fv::drawFrame(s);
    endFrame();
}

// Background work: a slice now and then, and the last frame drawn again when what it
// shows has changed, as the desktop window does.
void workTick(int lastDrawMs) {
    fv::State& s = fv::state;
    const bool partsLeft = fv::stepBackgroundWork(s.session, workSliceSeconds);
    const int now = glutGet(GLUT_ELAPSED_TIME);
    int drawnMs = lastDrawMs;
    if (!partsLeft || now - lastDrawMs >= static_cast<int>(progressFrameMs)) {
        if (fv::redrawForBackgroundWork(s)) {
            endFrame();
        }
        drawnMs = now;
    }
    s.session.work.ticking = fv::backgroundWorkRunning(s.session);
    if (s.session.work.ticking) {
        glutTimerFunc(workTickMs, workTick, drawnMs);
    }
}

void watchWork(fv::State& s) {
    fv::startShownWork(s);
    if (!s.session.work.ticking && fv::backgroundWorkRunning(s.session)) {
        s.session.work.ticking = true;
        glutTimerFunc(workTickMs, workTick, glutGet(GLUT_ELAPSED_TIME));
    }
}

// Playback: the frames of a run on GLUT's timers, at the session's cadence.
void playbackTick(int generation) {
    fv::State& s = fv::state;
    fv::Playback& p = s.session.playback;
    if (!fv::playbackRunCurrent(p, generation)) {
        return;
    }
    drawPageFrame(s);
    glutTimerFunc(fv::nextPlaybackFrameDelay(&p, glutGet(GLUT_ELAPSED_TIME)), playbackTick,
                  generation);
}

void togglePlayback(fv::Playback* p) {
    if (fv::togglePlaybackRun(p, glutGet(GLUT_ELAPSED_TIME))) {
        playbackTick(p->generation);
    }
}

} // namespace

extern "C" {

// A console pass from group (1 to 4) with input as the typed lines; returns what the
// console wrote (UTF-8), or null when the input cannot be read. The first pass is the
// program's first dialogue; later ones are those of the keys m, f, r and j.
EMSCRIPTEN_KEEPALIVE const char* fvPass(int group, const char* input) {
    fv::State& s = fv::state;
    if (group < 1 || group > groupCount || input == nullptr || input[0] == '\0') {
        return nullptr;
    }
    const char key = groupKeys[group - 1];
    if (s.page.passes > 0) {
        fv::applyKey(s, static_cast<unsigned char>(key));
        fv::cancelBackgroundWork(s.session);
    }
    s.session.currentKey = key;
    std::FILE* in = fmemopen(const_cast<char*>(input), std::strlen(input), "r");
    if (in == nullptr) {
        return nullptr;
    }
    char* text = nullptr;
    std::size_t length = 0;
    std::FILE* out = open_memstream(&text, &length);
    if (out == nullptr) {
        std::fclose(in);
        return nullptr;
    }
    fv::consoleDialogue(s, {in, out, &s.console});
    std::fclose(in);
    std::fclose(out);
    s.page.console.assign(text, length);
    std::free(text);
    s.page.passes = s.page.passes + 1;
    s.view.frameCurrent = false; // the canvas keeps its picture until the next frame
    watchWork(s);
    return s.page.console.c_str();
}

// A frame, as the window draws when it opens and at 's'.
EMSCRIPTEN_KEEPALIVE void fvDrawFrame() {
    if (fv::state.page.passes > 0) {
        drawPageFrame(fv::state);
    }
}

// A window key that changes the picture (s t T y Y z Z a e g) or the space bar; the
// others are the page's. Returns 1 when the key was taken.
EMSCRIPTEN_KEEPALIVE int fvKey(int key) {
    fv::State& s = fv::state;
    const auto k = static_cast<unsigned char>(key);
    if (s.page.passes == 0 || (k != 's' && k != fv::playbackKey && !fv::isViewKey(k))) {
        return 0;
    }
    switch (fv::applyKey(s, k)) {
    case fv::KeyAction::playback:
        togglePlayback(&s.session.playback);
        break;
    default:
        fv::startShownWork(s); // before the frame, which shows that it is under way
        drawPageFrame(s);
        watchWork(s);
        break;
    }
    return 1;
}

EMSCRIPTEN_KEEPALIVE void fvStopPlayback() {
    fv::state.session.playback.playing = false;
}

EMSCRIPTEN_KEEPALIVE int fvPlaying() {
    return fv::state.session.playback.playing ? 1 : 0;
}

// Whether text is one number as the console reads it, blanks around it allowed.
EMSCRIPTEN_KEEPALIVE int fvReadsAsNumber(const char* text) {
    double value = 0.0;
    int used = 0;
    return std::sscanf(text, " %lf %n", &value, &used) == 1 && text[used] == '\0' ? 1 : 0;
}

// The typed value of field k (m, lambda, K, F, omf, Fric, y0, v0) in use now.
EMSCRIPTEN_KEEPALIVE double fvInputValue(int k) {
    const fv::Inputs& in = fv::state.input;
    const double values[] = {in.m, in.lambda, in.K, in.F, in.omf, in.Fric, in.y0, in.v0};
    return k >= 0 && k < 8 ? values[k] : 0.0;
}

// The text of file k: summary.json, frequency.csv, time.csv of the pass the state holds,
// then the regime map's CSV when it is ready (else null).
EMSCRIPTEN_KEEPALIVE const char* fvFileText(int k) {
    fv::State& s = fv::state;
    if (s.page.passes == 0 || k < 0 || k > regimeFileIndex) {
        return nullptr;
    }
    if (k == regimeFileIndex) {
        if (!fv::regimeMapCurrent(s)) {
            return nullptr;
        }
        s.page.file = fv::regimeCsv(s.session.regimeMap);
    } else {
        std::string texts[fv::passFileCount];
        fv::passFileTexts(s, fv::passFileSeconds, texts);
        s.page.file = std::move(texts[k]);
    }
    return s.page.file.c_str();
}

// The part of the background work done, 0 to 1, or -1 when none is under way.
EMSCRIPTEN_KEEPALIVE double fvWorkProgress() {
    const fv::State& s = fv::state;
    if (!fv::backgroundWorkRunning(s.session)) {
        return -1.0;
    }
    const fv::JobProgress map = fv::regimeMapJobProgress(s.session, s.derived.zeta);
    if (map.running) {
        return map.fraction;
    }
    return fv::exactDotsJobProgress(s.session, fv::closedFormSystem(s)).fraction;
}

} // extern "C"

int main(int argc, char** argv) {
    fv::State& s = fv::state;
    fv::consoleInit(&s.console);
    glutInit(&argc, argv);
    glutInitWindowSize(canvasSize, canvasSize);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow("frictionvib");
    glViewport(0, 0, canvasSize, canvasSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    s.view.frameStartLineWidth = 1.0f;
    return 0; // the page calls in from here on
}
