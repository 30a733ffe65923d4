// The kind of a steady motion, as the regime map's cells and the exact dots tell it:
// one rule for every view that colours motions by kind.
#pragma once

#include "exact/steady.h"
#include "regime/map.h"

namespace fv {

enum class SteadyKind {
    grows,      // no steady state: the amplitude grows without bound
    unsettled,  // the exact motion did not settle
    atRest,     // the mass never moves
    neverStops, // moves on through every cycle
    fewStops,   // stops once or twice per cycle
    moreStops,  // three or four times
    manyStops,  // five times or more
};

inline SteadyKind steadyKind(bool grows, bool converged, bool atRest, int stopsPerCycle) {
    if (grows) {
        return SteadyKind::grows;
    }
    if (!converged) {
        return SteadyKind::unsettled;
    }
    if (atRest) {
        return SteadyKind::atRest;
    }
    if (stopsPerCycle == 0) {
        return SteadyKind::neverStops;
    }
    if (stopsPerCycle <= 2) {
        return SteadyKind::fewStops;
    }
    return stopsPerCycle <= 4 ? SteadyKind::moreStops : SteadyKind::manyStops;
}

inline SteadyKind steadyKind(const RegimeCell& c) {
    return steadyKind(c.grows, c.converged, c.atRest, c.stopsPerCycle);
}

inline SteadyKind steadyKind(const ExactSteady& s) {
    return steadyKind(s.grows, s.converged, s.atRest, s.stopsPerCycle);
}

} // namespace fv
