// Keyboard commands: what a key typed in the window does to the parameter set.
#pragma once

#include "state/state.h"

namespace fv {

constexpr double zoomFactor = 0.9; // every zoom step multiplies or divides by this
constexpr unsigned char escapeKey = 27;
constexpr unsigned char pictureKey = 'p';
constexpr unsigned char exactDotsKey = 'e';
constexpr unsigned char playbackKey = ' ';
constexpr unsigned char regimeMapKey = 'g';
constexpr unsigned char fitKey = 'a';
constexpr unsigned char clearViewKey = 'c';
constexpr unsigned char phasePlaneKey = 'o';
constexpr unsigned char energyKey = 'w';
// The fit key puts the highest point of the entered damping ratio's curves at this part
// of the chart's height, from the axis to the top of the window [-].
constexpr double fitHeight = 0.9;

// What the window does after a key.
enum class KeyAction {
    redraw,   // draw one frame
    console,  // run the console dialogue from the group that currentKey chooses
    quit,     // end the program with status 0
    picture,  // write the picture the window shows to a PNG file; no frame
    playback, // start or stop the playback
};

// Stores key in the session's currentKey and applies its zoom, fit, toggle or reset of simTime. A
// 't' that would raise timeRingCapacity above the ring's 2000 is refused (nothing changes). A key
// that returns to the console stops the playback. 'e' and 'g' only show or hide: what they show is
// computed by prepare... (at once) or startShownWork (off the event loop).
KeyAction applyKey(State& s, unsigned char key);

// Whether key is one of the window's view keys, which change only what the window shows
// (and draw a frame): those of the key table (session/views.h) marked so.
bool isViewKey(unsigned char key);

// When a panel is shown, makes sure the steady cycle it draws is that of the current
// system, computing it at once if it is not (a few milliseconds).
void prepareCycle(State& s);

// When the exact dots are shown, makes sure they are those of the current system,
// computing them at once if they are not.
void prepareExactDots(State& s);

// When the regime map is shown, makes sure it is that of the current zeta, computing it
// at once if it is not.
void prepareRegimeMap(State& s);

// Starts computing, off the event loop, whatever is shown and not current: the exact
// dots, the regime map.
void startShownWork(State& s);

} // namespace fv
