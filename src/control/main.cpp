// Entry point: the first console dialogue over all four groups, then the window and
// its event loop for the rest of the run.
#include "control/console.h"
#include "control/dialogue.h"
#include "control/params.h"
#include "graphics/window.h"

int main(int argc, char** argv) {
    fv::consoleInit();
    fv::currentKey = 'm';
    fv::consoleDialogue();
    fv::runWindow(&argc, argv);
    return 0;
}
