// Loading of the window module, which holds everything that needs GL and X.
#pragma once

#include <string>

#include "window/module.h"

namespace fv {

// The folder of the running program (/proc/self/exe), with its trailing '/'.
std::string programFolder();

// The module beside the program (loaded once; a second call finds it loaded); nullptr with *error
// (the reason dlopen gives) when it cannot be loaded.
const WindowModule* loadWindowModule(std::string* error);

} // namespace fv
