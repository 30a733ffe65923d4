// The one verdict on the motion at the entered ratio, which every face of the program
// reports: continuous, stick-slip, at rest or growing without bound, with its
// amplitude. The closed forms give it where they hold; where they cannot (a static
// force that holds the mass, no steady state, a motion the range rule misreads) the
// exact steady motion from rest does.
#pragma once

#include "exact/steady.h"
#include "model/derived.h"

namespace fv {

enum class GivenMotion {
    unknown,    // neither the closed forms nor the exact motion give one
    continuous, // the mass never stops
    stickSlip,  // the mass rests for a while at its extremes
    rest,       // the mass never moves
    grows,      // no steady state: the amplitude grows without bound
};

struct Verdict {
    GivenMotion motion;
    double amplitude; // [m]: 0 at rest; not a number where it grows or is unknown
    bool exact;       // taken from the exact motion, where the closed forms do not hold
};

// The verdict at the entered ratio from the closed forms of d (after group (3)) and the
// exact steady state there from rest.
Verdict givenPointVerdict(const Derived& d, const ExactSteady& exact);

// The motion's name in the files and the Python module ("continuous", "stick-slip",
// "rest", "grows"), or nullptr where it is unknown.
const char* givenMotionName(GivenMotion motion);

} // namespace fv
