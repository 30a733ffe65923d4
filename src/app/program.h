// The program's one state, defined by its entry point and named only by the entry
// points of the program (main, the signal handlers, the exit handler); everything else
// is handed the state or the parts of it it needs.
#pragma once

#include "state/state.h"

namespace fv {

extern State state;

} // namespace fv
