// The console: writes the program's UTF-8 texts in the console's encoding (console.cpp)
// and reads the whitespace-separated numbers of the dialogue (input.cpp).
#pragma once

#include <cstddef>
#include <cstdio>

#include "state/state.h"
#include "text/catalog.h"

namespace fv {

// The dialogue's console: where it reads, where it writes, and the encoding and first
// failures it keeps.
struct Console {
    std::FILE* in;
    std::FILE* out;
    ConsoleState* state;
};

// Takes the character type from the user's locale (numbers keep the C locale) and
// prepares the conversion when the console uses a Japanese legacy encoding.
void consoleInit(ConsoleState* console);

// Whether codeset names Shift_JIS, code page 932 or EUC-JP.
bool isJapaneseLegacyCodeset(const char* codeset);

// Converts UTF-8 text to codeset into out (room for outSize bytes, always
// terminated). A character the codeset lacks becomes '?'. Returns the bytes written,
// or -1 when the conversion is not available.
long convertText(const char* utf8, const char* codeset, char* out, std::size_t outSize);

// The text of msgid in the console's language (xgettext finds the texts by this name).
// The compiler checks the arguments against msgid; the catalog checks the translation.
__attribute__((format_arg(2))) inline const char* tr(const Console& console, const char* msgid) {
    return translate(console.state->catalog, msgid);
}

// printf-style output in the console's encoding.
void consolePrintf(const Console& console, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Flushes the console's output, keeping the reason of its first failure.
void flushConsole(const Console& console);

// Reads one, two or three numbers ("%lf", "%lf %lf", "%lf %lf %lf") into the given
// variables, after the pending output has reached the console. A variable the read does not fill
// keeps its value; after a failed read the rest of that input line is discarded so that the next
// prompt reads fresh input. At end of input nothing is read or waited for.
// The reason (errno) of the first read that failed is kept in the console's state: a
// failed read counts as the end of input for the dialogue.
void readNumbers(const Console& console, double* a, double* b = nullptr, double* c = nullptr);

} // namespace fv
