// Keyboard callback: applies the key, then draws one frame, runs the console
// dialogue inside the callback (no redraw follows it), or ends the program.
#include "control/keyboard.h"

#include <cstdio>
#include <cstdlib>

#include "control/dialogue.h"
#include "control/keys.h"
#include "graphics/display.h"

namespace fv {

void keyboard(unsigned char key, int /*x*/, int /*y*/) {
    switch (applyKey(key)) {
    case KeyAction::redraw:
        display();
        break;
    case KeyAction::console:
        consoleDialogue();
        break;
    case KeyAction::quit:
        std::fflush(stdout);
        std::exit(0);
    }
}

} // namespace fv
