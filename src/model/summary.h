// The summary of a pass: the system, what the model derived from it and the exact
// steady state at the entered ratio, as the export and the Python module report it.
#pragma once

#include "exact/steady.h"
#include "model/derived.h"
#include "model/system.h"

namespace fv {

struct Summary {
    PhysicalSystem input;
    Derived derived;
    double phiDeg;      // the printed phase lag [deg]
    double zLow, zHigh; // frequency ratios of the continuous range's ends [-]
    bool hasGivenPoint; // false for the off-chart mark of a missing YZB
    ExactSteady exact;  // exact steady state at the entered ratio, from rest
};

// The summary of a pass as the dialogue left it (the exact steady state is computed).
Summary summarize(const PhysicalSystem& in, const Derived& d, const Chart& chart);

} // namespace fv
