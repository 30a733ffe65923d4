// The period map of the exact motion, P: (x, v) at the start of a forcing period ->
// (x, v) at the start of the next, with its Jacobian, and the Floquet multipliers of a
// periodic motion: the eigenvalues of that Jacobian at its fixed point.
#pragma once

#include <complex>

#include "exact/motion.h"

namespace fv {

struct PeriodMap {
    ExactState end;        // the state one period later (tau = 0 again)
    double jacobian[2][2]; // d(x, v)_end / d(x, v)_start, v = dx/dtau
    int events;            // stops, breakaways and turns within the period
    bool valid;            // the period was integrated (a valid system, within the budget)
};

// One period from (x0, v0) at tau = 0 (exactStart), with its Jacobian, exact up to
// rounding: the flow of the linear equation between events, and at each event the jump
// of the vector field (a saltation matrix). A negative ratio is the force of the other
// sign. Where the way of moving changes at a state (a velocity of exactly 0 that starts a
// slide, a breakaway at a turning point of the force) the map has no derivative, and the
// one of the side the motion takes is given.
PeriodMap exactPeriodMap(const ExactSystem& sys, double x0, double v0);

// The same from a state of the motion (its way of moving kept as it is).
PeriodMap exactPeriodMapFrom(const ExactSystem& sys, const ExactState& start);

// The eigenvalues of a 2 x 2 matrix, the larger modulus first.
struct Multipliers {
    std::complex<double> mu[2];
};
Multipliers eigenvalues2(const double m[2][2]);

} // namespace fv
