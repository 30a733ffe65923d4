// The frequency characteristic of a group (3) pass. Every curve is computed on its own
// from zeta, Yf and Yc, so sweeping all stick-slip curves as one job, the continuous
// curves meanwhile, copying the entered curve from an equal family member and keeping
// curves whose system has not changed all give exactly the curves of sweeping them one
// after the other. Trimming a trimmed curve again changes nothing, so kept curves are
// trimmed again to restore the range and the red point as a recomputation sets them.
#include "control/chart.h"

#include "analysis/continuous.h"
#include "analysis/range.h"
#include "control/params.h"

namespace fv {

namespace {

// The red point shows continuous motion inside the continuous range (both ends
// included) and stick-slip motion outside it.
void chooseGivenPointAmplitude() {
    const double lo = stickSlipCurve.ratio[continuousRange.low];
    const double hi = stickSlipCurve.ratio[continuousRange.high];
    if (givenRatio < lo || givenRatio > hi) {
        givenPointAmplitude = YZB;
    } else {
        givenPointAmplitude = YZA;
    }
}

void copyPoints(const AmplitudeCurve& from, AmplitudeCurve& to, int n) {
    for (int i = 0; i <= n && i < curveCapacity; ++i) {
        to.ratio[i] = from.ratio[i];
        to.amplitude[i] = from.amplitude[i];
    }
}

} // namespace

bool chartCurrent() {
    return chartReady && sameSystem(chartSystem, currentClosedFormSystem());
}

void startChart(ChartPass* pass) {
    pass->sweeping = !chartCurrent();
    pass->sharedMember = -1;
    if (!pass->sweeping) {
        return;
    }
    ClosedFormSystem systems[familySize + 1];
    AmplitudeCurve* curves[familySize + 1];
    int count = 0;
    for (int k = 0; k < familySize; ++k) {
        systems[count] = {zetaTable[k], Yf, Yc};
        curves[count] = &stickSlipCurves[k];
        count = count + 1;
        if (pass->sharedMember < 0 && sameBits(zetaTable[k], zeta)) {
            pass->sharedMember = k;
        }
    }
    if (pass->sharedMember < 0) {
        systems[count] = currentClosedFormSystem();
        curves[count] = &stickSlipCurve;
        count = count + 1;
    }
    chartReady = false; // the curves change from here on
    startStickSlipSweep(&pass->sweep, ratioStep, sweepCount, systems, curves, count);
}

void finishChart(ChartPass* pass) {
    if (pass->sweeping) {
        sweepContinuousAmplitude(ratioStep, sweepCount, currentClosedFormSystem(), continuousCurve);
        for (int k = 0; k < familySize; ++k) {
            sweepContinuousAmplitude(ratioStep, sweepCount, {zetaTable[k], Yf, Yc},
                                     continuousCurves[k]);
        }
        finishStickSlipSweep(&pass->sweep);
        if (pass->sharedMember >= 0) {
            copyPoints(stickSlipCurves[pass->sharedMember], stickSlipCurve, sweepCount);
        }
        chartSystem = currentClosedFormSystem();
        chartReady = true;
    }
    trimContinuousCurve(continuousCurve, stickSlipCurve, sweepCount, &continuousRange);
    chooseGivenPointAmplitude();
    for (int k = 0; k < familySize; ++k) {
        trimContinuousCurve(continuousCurves[k], stickSlipCurves[k], sweepCount, &continuousRange);
    }
}

} // namespace fv
