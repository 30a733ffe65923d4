// The window module's entry points.
#include "window/module.h"

#include <X11/Xlib.h>
#include <cstring>

#include "window/picture.h"
#include "window/window.h"

namespace {

// The window on the program's state, with the program's callbacks: the context lives in
// this frame, which the event loop never leaves.
void runProgramWindow(fv::State* s, const fv::WindowCallbacks* callbacks, int* argc, char** argv) {
    fv::WindowContext context = {s, callbacks};
    fv::runWindow(&context, argc, argv);
}

// The display GLUT would open: the value of its -display option, or null for DISPLAY.
const char* displayOption(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-display") == 0) {
            return argv[i + 1];
        }
    }
    return nullptr;
}

bool programDisplayOpens(int argc, char** argv, std::string* error) {
    const char* name = displayOption(argc, argv);
    Display* display = XOpenDisplay(name);
    if (display != nullptr) {
        XCloseDisplay(display);
        return true;
    }
    *error = std::string("no display: '") + XDisplayName(name) +
             "' cannot be opened; without one, --batch, --export, --png, --regime-map and the "
             "web page work";
    return false;
}

constexpr fv::WindowModule module = {programDisplayOpens, runProgramWindow,
                                     fv::renderPictureOffscreen};

} // namespace

extern "C" const fv::WindowModule* fvWindowModule() {
    return &module;
}
