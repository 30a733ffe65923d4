// Window, callbacks and frame. The projection and modelview matrices are identities,
// so drawing is in window coordinates -1..1 stretched over the whole viewport. A timer
// checks four times a second that the window still exists.
#include "graphics/window.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "control/background.h"
#include "control/keyboard.h"
#include "control/streams.h"
#include "graphics/display.h"

namespace fv {

namespace {

constexpr unsigned windowWatchMs = 250;  // how often the window's existence is checked
constexpr double workStopSeconds = 0.25; // the longest wait for background work to stop

// freeglut hands the title to X as Latin-1 text; name the window in UTF-8 so that
// window managers and tools show and find the Japanese title.
void setUtf8Title(const char* title) {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    if (display == nullptr || window == 0) {
        return;
    }
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const char* names[] = {"_NET_WM_NAME", "WM_NAME", "_NET_WM_ICON_NAME", "WM_ICON_NAME"};
    const auto* bytes = reinterpret_cast<const unsigned char*>(title);
    const int length = static_cast<int>(std::strlen(title));
    for (const char* name : names) {
        const Atom property = XInternAtom(display, name, False);
        XChangeProperty(display, window, property, utf8, 8, PropModeReplace, bytes, length);
    }
    XFlush(display);
}

// Whether the last Xlib request failed because the window is gone.
bool windowMissing = false;

int noteMissingWindow(Display* /*display*/, XErrorEvent* error) {
    windowMissing = error->error_code == BadWindow || error->error_code == BadDrawable;
    return 0;
}

// Whether the X server still has window on display; its errors are caught here and
// reach no other handler.
bool windowExists(Display* display, Window window) {
    XSync(display, False);
    const XErrorHandler previous = XSetErrorHandler(noteMissingWindow);
    windowMissing = false;
    XWindowAttributes attributes;
    const Status status = XGetWindowAttributes(display, window, &attributes);
    XSync(display, False);
    XSetErrorHandler(previous);
    return status != 0 && !windowMissing;
}

// The window's X display and id, as created.
Display* watchedDisplay = nullptr;
Window watchedWindow = 0;
XErrorHandler otherErrorHandler = nullptr;

// The program ends as after a close of its window, with status 0.
[[noreturn]] void endWithoutWindow() {
    endProgram(0, stopBackgroundWork(workStopSeconds));
}

// freeglut ignores the destruction of its window by another client, which would leave
// the program sleeping for ever without a window: the timer finds it gone.
void watchWindow(int /*value*/) {
    if (watchedDisplay != nullptr && !windowExists(watchedDisplay, watchedWindow)) {
        endWithoutWindow();
    }
    glutTimerFunc(windowWatchMs, watchWindow, 0);
}

// A frame drawn into a window just destroyed fails with BadDrawable or BadWindow for
// it: the window is gone, too. Every other error goes where it went before.
int onXError(Display* display, XErrorEvent* error) {
    if ((error->error_code == BadWindow || error->error_code == BadDrawable) &&
        error->resourceid == watchedWindow && watchedWindow != 0) {
        endWithoutWindow();
    }
    return otherErrorHandler != nullptr ? otherErrorHandler(display, error) : 0;
}

} // namespace

void createWindow(int* argc, char** argv) {
    glutInitWindowSize(windowSize, windowSize);
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow(windowTitle);
    setUtf8Title(windowTitle);
    watchedDisplay = glXGetCurrentDisplay();
    watchedWindow = glXGetCurrentDrawable();
    const XErrorHandler previous = XSetErrorHandler(onXError);
    if (previous != onXError) {
        otherErrorHandler = previous; // a second window keeps the first one's chain
    }
    glutTimerFunc(windowWatchMs, watchWindow, 0);
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyboard);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
}

void runWindow(int* argc, char** argv) {
    createWindow(argc, argv);
    glutMainLoop();
}

void reshape(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

void beginFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
}

void endFrame() {
    glFlush();
    glutSwapBuffers();
}

} // namespace fv
