// Window, callbacks and frame: the one 800 x 800 GLUT window, its callbacks and the
// step that closes every frame. GLUT's callbacks take no arguments: the window keeps
// its context (the state it shows, the program's callbacks) as its window data.
#pragma once

#include "driver/driver.h"
#include "graphics/display.h"
#include "state/state.h"
#include "window/module.h"

namespace fv {

constexpr int windowSize = 800; // initial width and height [pixels]
// GL's line width before the window's first frame, which that frame starts from [pixels].
constexpr float openingLineWidth = 1.0f;
// The window title, UTF-8, in Japanese: shown in the reader's language.
inline constexpr const char* windowTitle = N_(
    "固体摩擦のある系の強制振動　m:ばねマス強制力，f:外力，r:固体摩擦，j:初期条件 変更 s:描画継続");

// The window's X handles, for the checks that it still exists.
struct WindowHandles {
    void* display;        // the X display of the window (an Xlib Display*)
    unsigned long window; // its X window id
    bool reshaped;        // a picture's window has been mapped and reshaped
};

// What the window's callbacks work on, and what the window keeps of its own.
struct WindowContext {
    State* state;
    const WindowCallbacks* callbacks; // none for a picture's window
    WindowHandles handles = {};
    FrameRecord frame = {};    // the last frame drawn into this window
    bool opened = false;       // its first frame is drawn: an exposure draws the last again
    DriverContext driver = {}; // the driver's view of it, set when the window is made
};

// Creates the window on context, registers display, reshape and keyboard, enters the
// event loop; does not return.
void runWindow(WindowContext* context, int* argc, char** argv);
// Creates the window and sets its callbacks and clear colour, without the loop.
void createWindow(WindowContext* context, int* argc, char** argv);
// The context of the current window, or nullptr when there is none.
WindowContext* windowContext();

// The next frame into the back buffer: the motion's step and finished background work
// first, then the picture (the program ends, as it always has, when the integration
// cannot have its working memory). The driver's stepFrame, for the window.
void nextFrame(State& s, FrameRecord* frame);
// The first frame of the motion as the window draws it when it opens, from GL's opening
// line width (a later frame starts from what the one before left), flushed and swapped.
void drawOpeningFrame(WindowContext* context);
// The GLUT display callback, flushed and swapped: the first frame as the window opens;
// afterwards (an exposure, a resize) the last frame again, the motion not advanced.
void display();
void reshape(int width, int height);
// Last step of every frame: flush, then swap the buffers.
void endFrame();

} // namespace fv
