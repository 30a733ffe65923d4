// The window's picture as pixels. A picture taken without a display is drawn in a
// private Xvfb by the same window code, renderer and frame sequence as the window, so
// its pixels are the window's: after each frame but the last the buffers are swapped
// as display() swaps them, and the last frame is read from the back buffer before
// its swap.
#include "graphics/picture.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cstdlib>
#include <unistd.h>

#include "control/keys.h"
#include "control/params.h"
#include "graphics/display.h"
#include "graphics/timeview.h"
#include "graphics/window.h"
#include "graphics/xserver.h"
#include "timeresp/integrate.h"

namespace fv {

namespace {

constexpr int bytesPerPixel = 3;
constexpr int mapEventRounds = 400; // event-loop rounds of mapPauseUs while the window maps
constexpr unsigned mapPauseUs = 5000;

bool reshaped = false;

// The window is drawn only by the frames below, never by an exposure.
void ignoreExposure() {}

void reshapeAndNote(int width, int height) {
    reshape(width, height);
    reshaped = true;
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

// What the frames of a picture change in the parameter set.
struct MotionSnapshot {
    double stateY[2];
    double simTime;
    int timeRingIndex;
    double timeCurves[timeRingRows][timeRingLength];
    float frameStartLineWidth;
};

void saveMotion(MotionSnapshot* s) {
    std::copy(stateY, stateY + 2, s->stateY);
    s->simTime = simTime;
    s->timeRingIndex = timeRingIndex;
    std::copy(&timeCurves[0][0], &timeCurves[0][0] + timeRingRows * timeRingLength,
              &s->timeCurves[0][0]);
    s->frameStartLineWidth = frameStartLineWidth;
}

void restoreMotion(const MotionSnapshot& s) {
    std::copy(s.stateY, s.stateY + 2, stateY);
    simTime = s.simTime;
    timeRingIndex = s.timeRingIndex;
    std::copy(&s.timeCurves[0][0], &s.timeCurves[0][0] + timeRingRows * timeRingLength,
              &timeCurves[0][0]);
    frameStartLineWidth = s.frameStartLineWidth;
}

} // namespace

RgbPicture readShownPicture() {
    redrawLastFrame();
    return readBackBuffer(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
}

bool renderPictureOffscreen(long frames, const std::string& keys, RgbPicture* picture,
                            std::string* error) {
    PrivateServer server;
    if (!startPrivateServer(&server, error)) {
        return false;
    }
    setenv("DISPLAY", server.name.c_str(), 1);
    static char programName[] = "frictionvib";
    static char* argv[] = {programName, nullptr};
    int argc = 1;
    createWindow(&argc, argv);
    glutDisplayFunc(ignoreExposure);
    glutReshapeFunc(reshapeAndNote);
    for (int i = 0; i < mapEventRounds && !reshaped; ++i) {
        glutMainLoopEvent();
        usleep(mapPauseUs);
    }
    reshape(windowSize, windowSize);
    static MotionSnapshot before;
    saveMotion(&before);
    if (frames == 0) {
        beginFrame();
    }
    // The picture needs the state after the frames, not their drawings: the frames
    // before the last two only advance the motion and record their samples. The last
    // but one is drawn for the GL state that the last one starts from.
    for (long k = 1; k <= frames; ++k) {
        if (k < frames - 1) {
            advanceMotion();
            recordTimeSample();
            continue;
        }
        drawFrame();
        if (k < frames) {
            endFrame();
        }
    }
    // The view keys as if pressed: the frame before each is shown, the key applied,
    // what it shows computed at once, and its frame drawn.
    for (const char key : keys) {
        endFrame();
        applyKey(static_cast<unsigned char>(key));
        prepareExactDots();
        prepareRegimeMap();
        drawFrame();
    }
    *picture = readBackBuffer(windowSize, windowSize);
    restoreMotion(before);
    glutDestroyWindow(glutGetWindow());
    glutExit();
    stopPrivateServer(&server);
    return true;
}

} // namespace fv
