// Keyboard callback: applies the key, then draws one frame, runs the console
// dialogue inside the callback (no redraw follows it), saves the picture, or ends the
// program.
#include "control/keyboard.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "control/dialogue.h"
#include "control/keys.h"
#include "control/streams.h"
#include "export/picture_file.h"
#include "graphics/display.h"
#include "graphics/picture.h"
#include "graphics/playback.h"

namespace fv {

namespace {

// The picture the window shows, into a new file in the working folder; its name goes to
// the console, a failure's reason to standard error. Nothing else changes.
void savePicture() {
    std::string path;
    std::string error;
    if (writeNewPictureFile(readShownPicture(), pictureStem(std::time(nullptr)), &path, &error)) {
        std::printf("%s\n", path.c_str());
    } else {
        std::fprintf(stderr, "frictionvib: cannot write %s\n", error.c_str());
    }
    flushStandardOutput();
}

} // namespace

void keyboard(unsigned char key, int /*x*/, int /*y*/) {
    switch (applyKey(key)) {
    case KeyAction::redraw:
        display();
        break;
    case KeyAction::console:
        consoleDialogue();
        prepareExactDots(); // a new system needs its own dots and map before the next frame
        prepareRegimeMap();
        break;
    case KeyAction::quit:
        flushStandardOutput();
        std::exit(0);
    case KeyAction::picture:
        savePicture();
        break;
    case KeyAction::playback:
        togglePlayback();
        break;
    }
}

} // namespace fv
