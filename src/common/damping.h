// The damping regime of a damping ratio, told one way for every kernel: below 1 the free
// motion oscillates, at 1 it is critically damped, above 1 it creeps back. A ratio that
// is not a number has no regime; each kernel says what it does with one.
#pragma once

namespace fv {

enum class DampingRegime { underdamped, critical, overdamped, undefined };

inline DampingRegime dampingRegime(double zeta) {
    if (zeta < 1.0) {
        return DampingRegime::underdamped;
    }
    if (zeta == 1.0) {
        return DampingRegime::critical;
    }
    return zeta > 1.0 ? DampingRegime::overdamped : DampingRegime::undefined;
}

} // namespace fv
