// The frequency characteristic of a group (3) pass. Every curve is computed on its own
// from zeta, Yf and Yc, so sweeping all stick-slip curves as one job, the continuous
// curves meanwhile, copying the entered curve from an equal family member and keeping
// curves whose system has not changed all give exactly the curves of sweeping them one
// after the other. Trimming a trimmed curve again changes nothing, so kept curves are
// trimmed again to restore the range and the red point as a recomputation sets them.
#include "model/chart.h"

#include "analysis/continuous.h"
#include "analysis/range.h"
#include "model/derive.h"

namespace fv {

namespace {

// The red point shows continuous motion inside the continuous range (both ends
// included) and stick-slip motion outside it.
void chooseGivenPointAmplitude(const Chart& chart, Derived* d) {
    const double lo = chart.stickSlipCurve.ratio[chart.continuousRange.low];
    const double hi = chart.stickSlipCurve.ratio[chart.continuousRange.high];
    d->givenPointContinuous = !(d->givenRatio < lo || d->givenRatio > hi);
    d->givenPointAmplitude = d->givenPointContinuous ? d->YZA : d->YZB;
}

void copyPoints(const AmplitudeCurve& from, AmplitudeCurve& to, int n) {
    for (int i = 0; i <= n && i < curveCapacity; ++i) {
        to.ratio[i] = from.ratio[i];
        to.amplitude[i] = from.amplitude[i];
    }
}

} // namespace

bool chartCurrent(const Chart& chart, const Derived& d) {
    return chart.chartReady && sameSystem(chart.chartSystem, closedFormSystem(d));
}

void startChart(const Derived& d, Chart* chart, ChartPass* pass) {
    pass->sweeping = !chartCurrent(*chart, d);
    pass->sharedMember = -1;
    if (!pass->sweeping) {
        return;
    }
    ClosedFormSystem systems[familySize + 1];
    AmplitudeCurve* curves[familySize + 1];
    int count = 0;
    for (int k = 0; k < familySize; ++k) {
        systems[count] = {zetaTable[k], d.Yf, d.Yc, d.Ys};
        curves[count] = &chart->stickSlipCurves[k];
        count = count + 1;
        if (pass->sharedMember < 0 && sameBits(zetaTable[k], d.zeta)) {
            pass->sharedMember = k;
        }
    }
    if (pass->sharedMember < 0) {
        systems[count] = closedFormSystem(d);
        curves[count] = &chart->stickSlipCurve;
        count = count + 1;
    }
    chart->chartReady = false; // the curves change from here on
    startStickSlipSweep(&pass->sweep, chart->ratioStep, chart->sweepCount, systems, curves, count);
}

void finishChart(Derived* d, Chart* chart, ChartPass* pass) {
    const int n = chart->sweepCount;
    if (pass->sweeping) {
        // Where a static force holds the mass at the continuous solution's turning
        // points that solution is no motion: its points are dropped.
        sweepContinuousAmplitude(chart->ratioStep, n, closedFormSystem(*d), chart->continuousCurve);
        dropHeldTurningPoints(n, closedFormSystem(*d), chart->continuousCurve);
        for (int k = 0; k < familySize; ++k) {
            const ClosedFormSystem member = {zetaTable[k], d->Yf, d->Yc, d->Ys};
            sweepContinuousAmplitude(chart->ratioStep, n, member, chart->continuousCurves[k]);
            dropHeldTurningPoints(n, member, chart->continuousCurves[k]);
        }
        finishStickSlipSweep(&pass->sweep);
        if (pass->sharedMember >= 0) {
            copyPoints(chart->stickSlipCurves[pass->sharedMember], chart->stickSlipCurve, n);
        }
        chart->chartSystem = closedFormSystem(*d);
        chart->chartReady = true;
    }
    trimContinuousCurve(chart->continuousCurve, chart->stickSlipCurve, n, &chart->continuousRange);
    d->enteredRange = chart->continuousRange;
    chooseGivenPointAmplitude(*chart, d);
    for (int k = 0; k < familySize; ++k) {
        trimContinuousCurve(chart->continuousCurves[k], chart->stickSlipCurves[k], n,
                            &chart->continuousRange);
    }
}

} // namespace fv
