// Test support: the program's window found by its title.
#include "support/xwindow.h"

#include <X11/Xatom.h>

std::string utf8Property(Display* display, Window w, const char* name) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const Atom property = XInternAtom(display, name, False);
    if (XGetWindowProperty(display, w, property, 0, 4096, False, AnyPropertyType, &type, &format,
                           &count, &after, &data) != Success ||
        data == nullptr) {
        return "";
    }
    std::string value(reinterpret_cast<char*>(data), count);
    XFree(data);
    if (type != XInternAtom(display, "UTF8_STRING", False)) {
        return "(not UTF8_STRING) " + value;
    }
    return value;
}

Window findWindow(Display* display, const std::string& title) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && found == 0; ++i) {
            if (utf8Property(display, children[i], "_NET_WM_NAME") == title) {
                found = children[i];
            }
        }
        XFree(children);
    }
    return found;
}
