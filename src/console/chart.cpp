// The frequency characteristic of a group (3) pass. Every curve is computed on its own
// from zeta, Yf and Yc, so sweeping all stick-slip curves as one job, the continuous
// curves meanwhile, copying the entered curve from an equal family member and keeping
// curves whose system has not changed all give exactly the curves of sweeping them one
// after the other. Trimming a trimmed curve again changes nothing, so kept curves are
// trimmed again to restore the range and the red point as a recomputation sets them.
#include "console/chart.h"

#include "analysis/continuous.h"
#include "analysis/range.h"

namespace fv {

namespace {

// The red point shows continuous motion inside the continuous range (both ends
// included) and stick-slip motion outside it.
void chooseGivenPointAmplitude(State& s) {
    Derived& d = s.derived;
    const double lo = s.chart.stickSlipCurve.ratio[s.chart.continuousRange.low];
    const double hi = s.chart.stickSlipCurve.ratio[s.chart.continuousRange.high];
    d.givenPointContinuous = !(d.givenRatio < lo || d.givenRatio > hi);
    d.givenPointAmplitude = d.givenPointContinuous ? d.YZA : d.YZB;
}

void copyPoints(const AmplitudeCurve& from, AmplitudeCurve& to, int n) {
    for (int i = 0; i <= n && i < curveCapacity; ++i) {
        to.ratio[i] = from.ratio[i];
        to.amplitude[i] = from.amplitude[i];
    }
}

} // namespace

void startChart(State& s, ChartPass* pass) {
    Chart& chart = s.chart;
    pass->sweeping = !chartCurrent(s);
    pass->sharedMember = -1;
    if (!pass->sweeping) {
        return;
    }
    ClosedFormSystem systems[familySize + 1];
    AmplitudeCurve* curves[familySize + 1];
    int count = 0;
    for (int k = 0; k < familySize; ++k) {
        systems[count] = {zetaTable[k], s.derived.Yf, s.derived.Yc};
        curves[count] = &chart.stickSlipCurves[k];
        count = count + 1;
        if (pass->sharedMember < 0 && sameBits(zetaTable[k], s.derived.zeta)) {
            pass->sharedMember = k;
        }
    }
    if (pass->sharedMember < 0) {
        systems[count] = closedFormSystem(s);
        curves[count] = &chart.stickSlipCurve;
        count = count + 1;
    }
    chart.chartReady = false; // the curves change from here on
    startStickSlipSweep(&pass->sweep, chart.ratioStep, chart.sweepCount, systems, curves, count);
}

void finishChart(State& s, ChartPass* pass) {
    Chart& chart = s.chart;
    const int n = chart.sweepCount;
    if (pass->sweeping) {
        sweepContinuousAmplitude(chart.ratioStep, n, closedFormSystem(s), chart.continuousCurve);
        for (int k = 0; k < familySize; ++k) {
            sweepContinuousAmplitude(chart.ratioStep, n, {zetaTable[k], s.derived.Yf, s.derived.Yc},
                                     chart.continuousCurves[k]);
        }
        finishStickSlipSweep(&pass->sweep);
        if (pass->sharedMember >= 0) {
            copyPoints(chart.stickSlipCurves[pass->sharedMember], chart.stickSlipCurve, n);
        }
        chart.chartSystem = closedFormSystem(s);
        chart.chartReady = true;
    }
    trimContinuousCurve(chart.continuousCurve, chart.stickSlipCurve, n, &chart.continuousRange);
    s.derived.enteredRange = chart.continuousRange;
    chooseGivenPointAmplitude(s);
    for (int k = 0; k < familySize; ++k) {
        trimContinuousCurve(chart.continuousCurves[k], chart.stickSlipCurves[k], n,
                            &chart.continuousRange);
    }
}

} // namespace fv
