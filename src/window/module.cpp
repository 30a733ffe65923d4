// The window module's entry points.
#include "window/module.h"

#include "window/picture.h"
#include "window/window.h"

namespace {

// The window on the program's state, with the program's callbacks: the context lives in
// this frame, which the event loop never leaves.
void runProgramWindow(fv::State* s, const fv::WindowCallbacks* callbacks, int* argc, char** argv) {
    fv::WindowContext context = {s, callbacks};
    fv::runWindow(&context, argc, argv);
}

constexpr fv::WindowModule module = {runProgramWindow, fv::renderPictureOffscreen};

} // namespace

extern "C" const fv::WindowModule* fvWindowModule() {
    return &module;
}
