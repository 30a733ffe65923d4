// Console dialogue: asks for the parameter groups, prints the derived quantities
// and prepares every curve and setting that the window shows.
#pragma once

namespace fv {

// Runs the dialogue from the group that currentKey chooses ('f' (2), 'r' (3),
// 'j' (4), else the header and (1)) through group (4).
void consoleDialogue();

} // namespace fv
