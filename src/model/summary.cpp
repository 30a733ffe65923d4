// The summary of a pass.
#include "model/summary.h"

#include <algorithm>

#include "common/constants.h"
#include "model/derive.h"

namespace fv {

bool motionRange(const Derived& d, const Chart& chart, IndexRange* range) {
    const AmplitudeCurve& curve = chart.continuousCurve;
    int first = -1;
    int last = -1;
    for (int i = std::max(d.enteredRange.low, 0); i <= d.enteredRange.high && i < curveCapacity;
         ++i) {
        if (curve.amplitude[i] >= 0.0) {
            first = first < 0 ? i : first;
            last = i;
        }
    }
    if (first < 0) {
        return false;
    }
    // A static band above Yc erases the ratios where it would hold the mass at a turning
    // point: the range is then where the continuous motion is left.
    const bool held = staticBand(closedFormSystem(d)) > d.Yc;
    *range = held ? IndexRange{first, last} : d.enteredRange;
    return true;
}

Summary summarize(const PhysicalSystem& in, const Derived& d, const Chart& chart) {
    Summary v = {};
    v.input = in;
    v.derived = d;
    v.phiDeg = d.phi / radiansPerDegree;
    v.hasContinuousRange = motionRange(d, chart, &v.continuousRange);
    if (v.hasContinuousRange) {
        v.zLow = chart.stickSlipCurve.ratio[v.continuousRange.low];
        v.zHigh = chart.stickSlipCurve.ratio[v.continuousRange.high];
    }
    const ExactSteadyOrbit orbit = exactSteadyOrbit(exactSystem(d));
    v.exact = orbit.steady;
    v.energy = cycleEnergy(in, orbit);
    v.verdict = givenPointVerdict(d, v.exact);
    return v;
}

} // namespace fv
