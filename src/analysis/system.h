// The three values of the parameter set that the closed-form solutions read, taken as
// values so that a solution can be computed away from the shared variables (the family
// pass changes zeta; the exact reference and the regime map run on many threads).
#pragma once

namespace fv {

struct ClosedFormSystem {
    double zeta; // damping ratio [-]
    double Yf;   // static deflection [m]
    double Yc;   // dead band [m]
};

// zeta, Yf and Yc of the parameter set now.
ClosedFormSystem currentClosedFormSystem();

} // namespace fv
