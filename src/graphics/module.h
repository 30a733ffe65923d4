// The window module: the window, its drawing and the pictures, built as a module that
// the program loads only when it opens the window or draws a picture, so that a batch
// run or an export loads no GL or X library. The module calls back into the program
// for the parameter set, the dialogue and the numerics.
#pragma once

#include <string>

#include "export/png.h"

namespace fv {

// File name of the module, beside the program.
constexpr const char* windowModuleFile = "libfvwindow.so";
// Name of the function that gives the module's entry points.
constexpr const char* windowModuleSymbol = "fvWindowModule";

struct WindowModule {
    // Opens the window and runs its event loop; does not return.
    void (*runWindow)(int* argc, char** argv);
    // As renderPictureOffscreen of graphics/picture.h.
    bool (*renderPictureOffscreen)(long frames, const std::string& keys, RgbPicture* picture,
                                   std::string* error);
};

} // namespace fv

// The module's entry points.
extern "C" const fv::WindowModule* fvWindowModule();
