// The three values that the closed-form solutions read: a system of the chart (the
// entered one, a member of the family, a row of the regime map).
#pragma once

#include <cstring>

namespace fv {

struct ClosedFormSystem {
    double zeta; // damping ratio [-]
    double Yf;   // static deflection [m]
    double Yc;   // dead band [m]
};

// Bit for bit the same values, as results kept for them need (0 and -0 differ).
inline bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
inline bool sameSystem(const ClosedFormSystem& a, const ClosedFormSystem& b) {
    return sameBits(a.zeta, b.zeta) && sameBits(a.Yf, b.Yf) && sameBits(a.Yc, b.Yc);
}

} // namespace fv
