// The values that the closed-form solutions read: a system of the chart (the entered
// one, a member of the family, a row of the regime map).
#pragma once

#include <cstring>

namespace fv {

struct ClosedFormSystem {
    double zeta; // damping ratio [-]
    double Yf;   // static deflection [m]
    double Yc;   // dead band [m]
    double Ys =
        0.0; // static band Fs/K [m]; the closed forms hold with max(Yc, Ys), so 0 is "as Yc"
};

// The band that holds a mass at rest: Ys where it is positive and above Yc, else Yc
// itself (whatever its sign, as the closed forms always took it) [m].
inline double staticBand(const ClosedFormSystem& sys) {
    return sys.Ys > 0.0 && sys.Ys > sys.Yc ? sys.Ys : sys.Yc;
}

// Bit for bit the same values, as results kept for them need (0 and -0 differ).
inline bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
inline bool sameSystem(const ClosedFormSystem& a, const ClosedFormSystem& b) {
    return sameBits(a.zeta, b.zeta) && sameBits(a.Yf, b.Yf) && sameBits(a.Yc, b.Yc) &&
           sameBits(a.Ys, b.Ys);
}

} // namespace fv
