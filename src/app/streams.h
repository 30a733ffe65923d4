// Standard streams: a program started with one of them closed (a launcher may do
// that) must not let the next file it opens take its descriptor; an input that cannot
// be read and an output that cannot be written are failures, not silence.
#pragma once

#include "state/state.h"

namespace fv {

// Gives each of descriptors 0, 1 and 2 that is closed a /dev/null of its own, so that
// the console reads end of input or writes into nothing, and the X connection opened
// later never becomes the console.
void openClosedStandardStreams();

// Whether standard input can be read at all: false with the reason in *code for a
// folder or a descriptor open for writing only. Nothing is read.
bool standardInputReadable(int* code);

// From now on, a standard output that could not be written (a full disk, a closed pipe
// that does not end the program) ends the program at its exit with status 1 and one
// line on standard error, as GNU tools do (with the reason the state's console kept).
void checkStandardOutputAtExit();

} // namespace fv
