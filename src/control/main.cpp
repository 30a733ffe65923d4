// Entry point: the first console dialogue over all four groups.
#include <cstdio>

#include "control/console.h"
#include "control/dialogue.h"
#include "control/params.h"

int main() {
    fv::consoleInit();
    fv::currentKey = 'm';
    fv::consoleDialogue();
    std::fflush(stdout);
    return 0;
}
