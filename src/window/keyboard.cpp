// Keyboard callback: the driver applies the key and draws its frame or plays; the
// window runs the console dialogue inside the callback, drops the keys typed while it
// waited and draws the first frame of the new motion, saves the picture, or ends the
// program. What 'e' and 'g' show is computed off the event loop and drawn as it comes.
#include "window/keyboard.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "export/picture_file.h"
#include "export/report.h"
#include "session/background.h"
#include "session/keys.h"
#include "window/ending.h"
#include "window/picture.h"
#include "window/typed_keys.h"
#include "window/window.h"

namespace fv {

namespace {

// The picture the window shows, into a new file in the working folder; its name goes to
// standard output, a failure's reason to standard error. Nothing else changes.
void savePicture(const WindowContext& c) {
    State& s = *c.state;
    std::string path;
    std::string error;
    // A window without the program's callbacks (a test's) notes its temporaries for
    // itself: no signal handler of its own removes them.
    TemporaryFiles unwatched = {};
    TemporaryFiles* temporaries = c.callbacks != nullptr && c.callbacks->temporaries != nullptr
                                      ? c.callbacks->temporaries
                                      : &unwatched;
    if (writeNewPictureFile(temporaries, readShownPicture(s, c.frame),
                            pictureStem(std::time(nullptr)), &path, &error)) {
        std::printf("%s\n", path.c_str());
    } else {
        reportFailure("write", error);
    }
    errno = 0;
    if (std::fflush(stdout) != 0 && s.console.outputError == 0) {
        s.console.outputError = errno != 0 ? errno : EIO; // reported at the end
    }
}

} // namespace

void keyboard(unsigned char key, int /*x*/, int /*y*/) {
    WindowContext* c = windowContext();
    if (c == nullptr) {
        return;
    }
    State& s = *c->state;
    switch (driverKey(c->driver, key)) {
    case KeyAction::console:
        beforeDialogue(c->driver);
        if (c->callbacks != nullptr) {
            c->callbacks->dialogue(&s);
        }
        dropTypedKeys(c->handles); // before the frame, which shows that they may come again
        afterDialogue(c->driver);
        drawOpeningFrame(c); // the new motion from its start; no caption of the old work
        break;
    case KeyAction::quit:
        endAtOnce(&s.session, &s.console, 0);
    case KeyAction::picture:
        savePicture(*c);
        break;
    case KeyAction::redraw:
    case KeyAction::playback:
        break; // the driver's
    }
}

} // namespace fv
