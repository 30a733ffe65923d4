// Console input: the number reads of the dialogue, with recovery from input that is
// not a number. The only part of the console that reads a stream: a front end without
// one (the web page's form) fills the inputs itself.
#include "console/console.h"

#include <cerrno>
#include <cstdio>

namespace fv {

void readNumbers(const Console& console, double* a, double* b, double* c) {
    flushConsole(console);
    errno = 0;
    int wanted = 1;
    int got = 0;
    if (c != nullptr) {
        wanted = 3;
        got = std::fscanf(console.in, "%lf %lf %lf", a, b, c);
    } else if (b != nullptr) {
        wanted = 2;
        got = std::fscanf(console.in, "%lf %lf", a, b);
    } else {
        got = std::fscanf(console.in, "%lf", a);
    }
    if (got == EOF && std::ferror(console.in) != 0 && console.state->inputError == 0) {
        console.state->inputError = errno != 0 ? errno : EIO;
    }
    if (got == EOF || got == wanted) {
        return;
    }
    int ch = 0;
    while ((ch = std::fgetc(console.in)) != '\n' && ch != EOF) {
    }
}

} // namespace fv
