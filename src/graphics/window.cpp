// Window, callbacks and frame. The projection and modelview matrices are identities,
// so drawing is in window coordinates -1..1 stretched over the whole viewport.
#include "graphics/window.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cstring>

#include "control/keyboard.h"
#include "graphics/display.h"

namespace fv {

namespace {

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

} // namespace

void createWindow(int* argc, char** argv) {
    glutInitWindowSize(windowSize, windowSize);
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow(windowTitle);
    setUtf8Title(windowTitle);
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
