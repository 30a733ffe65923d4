// The summary of a pass: the system, what the model derived from it and the exact
// steady state at the entered ratio, as the export and the Python module report it.
#pragma once

#include "exact/steady.h"
#include "model/cycle.h"
#include "model/derived.h"
#include "model/system.h"
#include "model/verdict.h"

namespace fv {

struct Summary {
    PhysicalSystem input;
    Derived derived;
    double phiDeg;              // the printed phase lag [deg]
    IndexRange continuousRange; // grid indices of continuous motion, where it has any
    double zLow, zHigh;         // frequency ratios of the continuous range's ends [-]
    ExactSteady exact;          // exact steady state at the entered ratio, from rest
    CycleEnergy energy;         // the work of one cycle of that steady motion [J]
    Verdict verdict;            // the motion at the entered ratio, as every face reports it
    bool hasContinuousRange;    // the continuous range holds a point of continuous motion
};

// The entered curves' continuous range as a range of motion: false where the
// continuous curve has no point in it (no solution, or a static band that holds the
// mass at every turning point); narrowed to the points left where a static band above
// Yc has erased some, else the trim's range as it stands.
bool motionRange(const Derived& d, const Chart& chart, IndexRange* range);

// The summary of a pass as the dialogue left it (the exact steady state is computed).
Summary summarize(const PhysicalSystem& in, const Derived& d, const Chart& chart);

} // namespace fv
