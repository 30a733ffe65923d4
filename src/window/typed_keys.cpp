// Keys typed while the console dialogue waited. GLUT reads X events one at a time, each
// handed on at once, so it holds none of its own: what was typed meanwhile is still in
// Xlib's queue or on the connection, and a round trip brings all of it into the queue.
#include "window/typed_keys.h"

#include <X11/Xlib.h>

namespace fv {

namespace {

constexpr long typedKeyEvents = KeyPressMask | KeyReleaseMask;

} // namespace

int dropTypedKeys(const WindowHandles& handles) {
    auto* display = static_cast<Display*>(handles.display);
    if (display == nullptr || handles.window == 0) {
        return 0;
    }
    XSync(display, False); // everything the server sent before now is in the queue
    int dropped = 0;
    XEvent event;
    while (XCheckWindowEvent(display, handles.window, typedKeyEvents, &event) == True) {
        ++dropped;
    }
    return dropped;
}

} // namespace fv
