// The summary of a pass.
#include "model/summary.h"

#include "common/constants.h"
#include "model/derive.h"

namespace fv {

Summary summarize(const PhysicalSystem& in, const Derived& d, const Chart& chart) {
    Summary v = {};
    v.input = in;
    v.derived = d;
    v.phiDeg = d.phi / radiansPerDegree;
    v.zLow = chart.stickSlipCurve.ratio[d.enteredRange.low];
    v.zHigh = chart.stickSlipCurve.ratio[d.enteredRange.high];
    v.hasGivenPoint = d.givenPointContinuous ? d.hasYZA : d.hasYZB;
    v.exact = enteredExactSteady(d);
    return v;
}

} // namespace fv
