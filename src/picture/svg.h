// A scene as an SVG document: text as <text> in the reader's language, curves as paths,
// so that a paper or a slide can take the picture at any size and its words can be
// searched and edited.
#pragma once

#include <string>

#include "picture/scene.h"

namespace fv {

// Pixels of the SVG's view box across and up: the window's frame.
constexpr int svgFrameSize = 800;

// The whole document, UTF-8, with its title.
std::string sceneSvg(const Scene& scene, const std::string& title);

} // namespace fv
