// A scene drawn with GL: what the SVG writer writes, as pixels in the window.
#pragma once

#include "picture/scene.h"

namespace fv {

// Draws scene into the current viewport, a square frame; its line widths and text sizes
// scale with the viewport from the frame's 800 pixels.
void drawSceneGL(const Scene& scene);

// The clear view's viewport: the largest square centred in a window of width by height
// pixels, so that the picture keeps its aspect when the window is resized.
void setSquareViewport(int width, int height);

} // namespace fv
