// Window, callbacks and frame: the one 800 x 800 GLUT window, its reshape callback
// and the two steps that open and close every frame.
#pragma once

namespace fv {

constexpr int windowSize = 800; // initial width and height [pixels]
// The window title, UTF-8.
inline constexpr const char* windowTitle =
    "固体摩擦のある系の強制振動　m:ばねマス強制力，f:外力，r:固体摩擦，j:初期条件 変更 s:描画継続";

// Creates the window, registers display, reshape and keyboard, enters the event
// loop; does not return.
void runWindow(int* argc, char** argv);
// Creates the window and sets its callbacks and clear colour, without the loop.
void createWindow(int* argc, char** argv);
void reshape(int width, int height);
void beginFrame();
void endFrame();

} // namespace fv
