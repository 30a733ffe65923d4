// Window, callbacks and frame. The projection and modelview matrices are identities,
// so drawing is in window coordinates -1..1 stretched over the whole viewport. A timer
// checks four times a second that the window still exists.
#include "window/window.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "graphics/display.h"
#include "graphics/gl_port.h"
#include "session/background.h"
#include "session/keys.h"
#include "session/motion.h"
#include "window/ending.h"
#include "window/keyboard.h"

namespace fv {

namespace {

// The X error handler that was there before the first window's: the module's own, as
// Xlib keeps one handler for the whole process.
XErrorHandler otherXErrorHandler = nullptr;

constexpr unsigned windowWatchMs = 250;  // how often the window's existence is checked
constexpr unsigned workPollMs = 100;     // how often work on the threads is looked at [ms]
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

// Whether the X server still has window on display; its errors are caught here and
// reach no other handler. (An error handler takes no context: it keeps its finding in
// the request's own error code, read back at once.)
int noteMissingWindow(Display* /*display*/, XErrorEvent* /*error*/) {
    return 0;
}

bool windowExists(Display* display, Window window) {
    XSync(display, False);
    const XErrorHandler previous = XSetErrorHandler(noteMissingWindow);
    XWindowAttributes attributes;
    const Status status = XGetWindowAttributes(display, window, &attributes);
    XSync(display, False);
    XSetErrorHandler(previous);
    return status != 0;
}

// The program ends as after a close of its window, with status 0.
[[noreturn]] void endWithoutWindow(State* s) {
    endProgram(&s->console, 0, stopBackgroundWork(s->session, workStopSeconds));
}

// freeglut ignores the destruction of its window by another client, which would leave
// the program sleeping for ever without a window: the timer finds it gone.
void watchWindow(int /*value*/) {
    WindowContext* c = windowContext();
    if (c == nullptr) {
        return;
    }
    const WindowHandles& w = c->handles;
    if (w.display != nullptr && !windowExists(static_cast<Display*>(w.display), w.window)) {
        endWithoutWindow(c->state);
    }
    glutTimerFunc(windowWatchMs, watchWindow, 0);
}

// A frame drawn into a window just destroyed fails with BadDrawable or BadWindow for
// it: the window is gone, too. Every other error goes where it went before.
int onXError(Display* display, XErrorEvent* error) {
    WindowContext* c = windowContext();
    if (c == nullptr) {
        return 0;
    }
    const WindowHandles& w = c->handles;
    if ((error->error_code == BadWindow || error->error_code == BadDrawable) &&
        error->resourceid == w.window && w.window != 0) {
        endWithoutWindow(c->state);
    }
    return otherXErrorHandler != nullptr ? otherXErrorHandler(display, error) : 0;
}

// A frame's step without working memory ends the program, as it always has.
void failFrame(State* /*s*/) {
    endForMemory();
}

const FrontEndOps windowOps = {endFrame, failFrame, workPollMs};

} // namespace

DriverContext* driverContext() {
    WindowContext* c = windowContext();
    return c != nullptr ? &c->driver : nullptr;
}

void createWindow(WindowContext* context, int* argc, char** argv) {
    glutInitWindowSize(windowSize, windowSize);
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    const char* title = translate(context->state->console.catalog, windowTitle);
    glutCreateWindow(title);
    glutSetWindowData(context);
    setUtf8Title(title);
    WindowHandles& w = context->handles;
    w.display = glXGetCurrentDisplay();
    w.window = glXGetCurrentDrawable();
    const XErrorHandler previous = XSetErrorHandler(onXError);
    if (previous != onXError) {
        otherXErrorHandler = previous; // a second window keeps the first one's chain
    }
    context->frame.startLineWidth = openingLineWidth;
    context->driver = {context->state, &context->frame, &windowOps, false, 0};
    glutTimerFunc(windowWatchMs, watchWindow, 0);
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyboard);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
}

WindowContext* windowContext() {
    if (glutGetWindow() == 0) {
        return nullptr; // glutGetWindowData would end the program without a window
    }
    return static_cast<WindowContext*>(glutGetWindowData());
}

void runWindow(WindowContext* context, int* argc, char** argv) {
    createWindow(context, argc, argv);
    startShownWork(*context->state); // the dots a static force above sliding friction shows
    watchWork(context->driver);
    glutMainLoop();
}

void nextFrame(State& s, FrameRecord* frame) {
    if (!stepFrame(s, frame)) {
        endForMemory();
    }
}

void drawOpeningFrame(WindowContext* context) {
    setLineWidth(openingLineWidth);
    driverFrame(context->driver);
}

void display() {
    WindowContext* c = windowContext();
    if (c == nullptr) {
        return;
    }
    if (!c->opened) {
        c->opened = true;
        drawOpeningFrame(c);
        return;
    }
    redrawLastFrame(*c->state, c->frame);
    endFrame();
}

void reshape(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

void endFrame() {
    glFlush();
    glutSwapBuffers();
}

} // namespace fv
