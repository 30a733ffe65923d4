// Console dialogue: asks for the parameter groups, prints the derived quantities and
// prepares every curve and setting that the window shows.
#pragma once

#include "console/console.h"
#include "state/state.h"

namespace fv {

// Runs the dialogue on console from the group that s.session.currentKey chooses
// ('f' (2), 'r' (3), 'j' (4), else the header and (1)) through group (4).
void consoleDialogue(State& s, const Console& console);

// The group a pass starts with for key.
int firstGroupOf(char key);

} // namespace fv
