// The three values of the parameter set that the closed-form solutions read, taken as
// values so that a solution can be computed away from the shared variables (the family
// pass changes zeta; the exact reference and the regime map run on many threads).
#pragma once

#include <cstring>

namespace fv {

struct ClosedFormSystem {
    double zeta; // damping ratio [-]
    double Yf;   // static deflection [m]
    double Yc;   // dead band [m]
};

// zeta, Yf and Yc of the parameter set now.
ClosedFormSystem currentClosedFormSystem();

// Bit for bit the same values, as results kept for them need (0 and -0 differ).
inline bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
inline bool sameSystem(const ClosedFormSystem& a, const ClosedFormSystem& b) {
    return sameBits(a.zeta, b.zeta) && sameBits(a.Yf, b.Yf) && sameBits(a.Yc, b.Yc);
}

} // namespace fv
