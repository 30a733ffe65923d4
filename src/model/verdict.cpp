// The verdict at the entered ratio. The closed forms are exact for the motion each
// describes, so where the exact steady motion settles into the kind of motion the range
// rule picks, and that kind has a closed form here, the closed form is the answer. The
// exact motion answers alone where the mass never moves (static friction that holds it,
// or friction above the force), where no steady state exists, and where it settles into
// the other kind of motion or into one the closed forms have no amplitude for.
#include "model/verdict.h"

#include <cmath>

namespace fv {

Verdict givenPointVerdict(const Derived& d, const ExactSteady& exact) {
    const double none = std::nan("");
    if (exact.grows) {
        return {GivenMotion::grows, none, true};
    }
    if (exact.atRest) {
        return {GivenMotion::rest, 0.0, true};
    }
    const GivenMotion closedMotion =
        d.givenPointContinuous ? GivenMotion::continuous : GivenMotion::stickSlip;
    const bool closedHolds = d.givenPointContinuous ? d.hasYZA : d.hasYZB;
    if (exact.converged && std::isfinite(exact.amplitude)) {
        const GivenMotion exactMotion =
            exact.stopsPerCycle > 0 ? GivenMotion::stickSlip : GivenMotion::continuous;
        if (closedHolds && exactMotion == closedMotion) {
            return {closedMotion, d.givenPointAmplitude, false};
        }
        return {exactMotion, exact.amplitude, true};
    }
    if (closedHolds) {
        return {closedMotion, d.givenPointAmplitude, false};
    }
    return {GivenMotion::unknown, none, false};
}

const char* givenMotionName(GivenMotion motion) {
    switch (motion) {
    case GivenMotion::continuous:
        return "continuous";
    case GivenMotion::stickSlip:
        return "stick-slip";
    case GivenMotion::rest:
        return "rest";
    case GivenMotion::grows:
        return "grows";
    case GivenMotion::unknown:
        break;
    }
    return nullptr;
}

} // namespace fv
