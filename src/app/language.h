// The reader's language: the catalogs the program finds and the one --lang chose.
#pragma once

#include <cstdio>
#include <string>

#include "state/state.h"
#include "text/languages.h"

namespace fv {

// The folder of the compiled catalogs: $FRICTIONVIB_LOCALEDIR when set and not empty,
// else locale/ beside the program.
std::string catalogFolder();

// Sets console's catalog to that of code. False, with a usage line on err that lists
// the languages there are (and a line for each catalog that could not be read), when
// there is no such language.
bool chooseLanguage(const Languages& languages, const std::string& code, ConsoleState* console,
                    std::FILE* err);

} // namespace fv
