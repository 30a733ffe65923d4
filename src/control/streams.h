// Standard streams: a program started with one of them closed (a launcher may do
// that) must not let the next file it opens take its descriptor.
#pragma once

namespace fv {

// Gives each of descriptors 0, 1 and 2 that is closed a /dev/null of its own, so that
// the console reads end of input or writes into nothing, and the X connection opened
// later never becomes the console.
void openClosedStandardStreams();

} // namespace fv
