// The window module's entry points.
#include "graphics/module.h"

#include "graphics/picture.h"
#include "graphics/window.h"

extern "C" const fv::WindowModule* fvWindowModule() {
    static const fv::WindowModule module = {fv::runWindow, fv::renderPictureOffscreen};
    return &module;
}
