// The window's picture as pixels: what the window shows now, and the picture it would
// show after a number of frames, drawn without a display in a private X server.
#pragma once

#include <string>

#include "export/png.h"
#include "graphics/display.h"
#include "state/state.h"

namespace fv {

// What the current window shows, rows from the top: the last frame drawn again into
// the back buffer and read there (a front buffer cannot be read back everywhere). The
// motion does not advance and nothing new is shown.
RgbPicture readShownPicture(State& s, const FrameRecord& frame);

// Opens the 800 x 800 window in a private X server, draws frames frames exactly as
// the window draws them from the current parameter set (with the view it shows: the
// frequency chart or the regime map), then applies the view keys of keys in order as if
// they were pressed (each draws its frame), and reads the last frame back. The state is
// as it was afterwards. False with *error when no server or
// window can be had.
bool renderPictureOffscreen(State* s, long frames, const std::string& keys, RgbPicture* picture,
                            std::string* error);

} // namespace fv
