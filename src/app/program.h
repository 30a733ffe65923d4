// The program's process-wide values, one object, defined by its entry point and named
// only by the entry points of the program (main, the signal handlers, the exit
// handler): the state every layer is handed, and what the command line's front end keeps
// of its own. Everything else is handed the parts it needs.
#pragma once

#include "export/interrupt.h"
#include "state/state.h"
#include "text/languages.h"

namespace fv {

struct Program {
    State state;                // the model and the session
    TemporaryFiles temporaries; // files under way, removed by the signal handlers
    Languages languages;        // the catalogs, which the state's console points into
};

extern Program program;

} // namespace fv
