// The window's picture as pixels. A picture taken without a display is drawn in a
// private Xvfb by the same window code, renderer and frame sequence as the window, so
// its pixels are the window's: after each frame but the last the buffers are swapped
// as display() swaps them, and the last frame is read from the back buffer before
// its swap.
#include "window/picture.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <unistd.h>

#include "graphics/display.h"
#include "graphics/timeview.h"
#include "session/background.h"
#include "session/keys.h"
#include "session/motion.h"
#include "timeresp/integrate.h"
#include "window/ending.h"
#include "window/window.h"
#include "window/xserver.h"

namespace fv {

namespace {

constexpr int bytesPerPixel = 3;
constexpr int mapEventRounds = 400; // event-loop rounds of mapPauseUs while the window maps
constexpr unsigned mapPauseUs = 5000;

// The window is drawn only by the frames below, never by an exposure.
void ignoreExposure() {}

void reshapeAndNote(int width, int height) {
    reshape(width, height);
    if (WindowContext* c = windowContext()) {
        c->handles.reshaped = true;
    }
}

// The back buffer's pixels, turned to rows from the top.
RgbPicture readBackBuffer(int width, int height) {
    RgbPicture picture;
    picture.width = width;
    picture.height = height;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
    std::vector<unsigned char> bottomUp(rowBytes * static_cast<std::size_t>(height));
    glFinish();
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    glPopClientAttrib();
    picture.rgb.resize(bottomUp.size());
    for (int y = 0; y < height; ++y) {
        const unsigned char* from = bottomUp.data() + rowBytes * static_cast<std::size_t>(y);
        std::copy(from, from + rowBytes,
                  picture.rgb.begin() + static_cast<std::ptrdiff_t>(
                                            rowBytes * static_cast<std::size_t>(height - 1 - y)));
    }
    return picture;
}

// Everything the frames and keys of a picture may change, to be put back afterwards:
// the picture is a look at the state, not a change of it. The whole state is kept; the
// console's record of its streams stays as it is now.
struct Snapshot {
    State state;
};

void save(const State& s, Snapshot* k) {
    k->state = s;
}

void restore(const Snapshot& k, State* s) {
    const ConsoleState console = s->console;
    *s = k.state;
    s->console = console;
}

} // namespace

RgbPicture readShownPicture(State& s, const FrameRecord& frame) {
    collectBackgroundWork(s.session); // the picture shows a finished map whole
    redrawLastFrame(s, frame);
    return readBackBuffer(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
}

bool renderPictureOffscreen(State* s, long frames, const std::string& keys, RgbPicture* picture,
                            std::string* error) {
    PrivateServer server;
    if (!startPrivateServer(&server, error)) {
        return false;
    }
    setenv("DISPLAY", server.name.c_str(), 1);
    const std::unique_ptr<Snapshot> before(new Snapshot);
    save(*s, before.get());
    char programName[] = "frictionvib";
    char* argv[] = {programName, nullptr};
    int argc = 1;
    WindowContext context = {s, nullptr, {}, {}};
    createWindow(&context, &argc, argv);
    glutDisplayFunc(ignoreExposure);
    glutReshapeFunc(reshapeAndNote);
    for (int i = 0; i < mapEventRounds && !context.handles.reshaped; ++i) {
        glutMainLoopEvent();
        usleep(mapPauseUs);
    }
    reshape(windowSize, windowSize);
    if (frames == 0) {
        beginFrame();
    }
    prepareExactDots(*s); // what the view shows from the start
    // The picture needs the state after the frames, not their drawings: the frames
    // before the last two only advance the motion and record their samples. The last
    // but one is drawn for the GL state that the last one starts from.
    for (long k = 1; k <= frames; ++k) {
        if (k < frames - 1) {
            if (!stepMotion(*s)) {
                endForMemory();
            }
            continue;
        }
        nextFrame(*s, &context.frame);
        if (k < frames) {
            endFrame();
        }
    }
    // The view keys as if pressed: the frame before each is shown, the key applied,
    // what it shows computed at once, and its frame drawn.
    for (const char key : keys) {
        endFrame();
        applyKey(*s, static_cast<unsigned char>(key));
        prepareExactDots(*s);
        prepareRegimeMap(*s);
        nextFrame(*s, &context.frame);
    }
    *picture = readBackBuffer(windowSize, windowSize);
    restore(*before, s);
    glutDestroyWindow(glutGetWindow());
    glutExit();
    stopPrivateServer(&server);
    return true;
}

} // namespace fv
