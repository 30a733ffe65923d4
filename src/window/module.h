// The window module: the window, its drawing and the pictures, built as a module that
// the program loads only when it opens the window or draws a picture, so that a batch
// run or an export loads no GL or X library. Its whole interface is this header: the
// program hands it the state and the callbacks it needs (the console dialogue, which
// stays the program's), and it uses nothing else of the program.
#pragma once

#include <string>

#include "export/interrupt.h"
#include "export/png.h"
#include "state/state.h"

namespace fv {

// File name of the module, beside the program.
constexpr const char* windowModuleFile = "libfvwindow.so";
// Name of the function that gives the module's entry points.
constexpr const char* windowModuleSymbol = "fvWindowModule";

// What the window asks of the program.
struct WindowCallbacks {
    // A console dialogue pass from the group that the session's currentKey chooses.
    void (*dialogue)(State* s);
    // Where the pictures the window saves note their temporaries (the program's signal
    // handlers remove them).
    TemporaryFiles* temporaries;
};

struct WindowModule {
    // Whether the display that the window would open on (GLUT's -display in argv, else
    // DISPLAY) accepts this program; false with *error naming it and what works without
    // one. Asked before runWindow, as GLUT ends the process itself when it cannot.
    bool (*displayOpens)(int argc, char** argv, std::string* error);
    // Opens the window on s and runs its event loop; does not return.
    void (*runWindow)(State* s, const WindowCallbacks* callbacks, int* argc, char** argv);
    // The window's picture after frames frames and the view keys of keys, drawn in a
    // private X server; s's motion is as it was afterwards. False with *error when no
    // server or window can be had.
    bool (*renderPictureOffscreen)(State* s, long frames, const std::string& keys,
                                   RgbPicture* picture, std::string* error);
};

} // namespace fv

// The module's entry points.
extern "C" const fv::WindowModule* fvWindowModule();
