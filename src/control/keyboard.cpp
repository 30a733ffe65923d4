// Keyboard callback: applies the key, then draws one frame, runs the console
// dialogue inside the callback (no redraw follows it), saves the picture, or ends the
// program. What 'e' and 'g' show is computed off the event loop and drawn as it comes.
#include "control/keyboard.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "control/background.h"
#include "control/dialogue.h"
#include "control/keys.h"
#include "control/params.h"
#include "control/streams.h"
#include "export/picture_file.h"
#include "graphics/display.h"
#include "graphics/picture.h"
#include "graphics/playback.h"
#include "graphics/progress.h"

namespace fv {

namespace {

// How long ESC waits for the workers of the regime map and the exact dots to stop [s]:
// each stops after the cell or dot it is on, a few milliseconds as a rule.
constexpr double stopSeconds = 0.25;

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
        startShownWork(); // before the frame, which shows that it is under way
        watchBackgroundWork();
        display();
        break;
    case KeyAction::console:
        cancelBackgroundWork();
        consoleDialogue();
        frameCurrent = false; // the window keeps the last picture until the next frame
        startShownWork();
        watchBackgroundWork();
        break;
    case KeyAction::quit:
        endProgram(0, stopBackgroundWork(stopSeconds));
    case KeyAction::picture:
        savePicture();
        break;
    case KeyAction::playback:
        togglePlayback();
        break;
    }
}

} // namespace fv
