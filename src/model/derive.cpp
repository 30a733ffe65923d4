// The model's derivations. The order of the operations is the dialogue's, so that every
// value is the same double whichever front end asks for it.
#include "model/derive.h"

#include <cmath>

#include "analysis/continuous.h"
#include "freqchar/stickslip.h"

namespace fv {

namespace {

constexpr double noStickSlipAmplitude = 100.0; // red point far off-chart [m]

} // namespace

void deriveSpringMassDamper(const PhysicalSystem& in, Derived* d) {
    d->omega0 = std::sqrt(in.K / in.m);
    d->zeta = in.lambda / (2.0 * std::sqrt(in.m * in.K));
}

void deriveExternalForce(const PhysicalSystem& in, Derived* d) {
    d->Yf = in.F / in.K;
    d->As = d->Yf;
    const double stiffness = in.K - in.m * (in.omf * in.omf);
    d->Ad = in.F / std::sqrt(stiffness * stiffness + (in.lambda * in.omf) * (in.lambda * in.omf));
    d->phi = std::atan2(in.lambda * in.omf, in.K - in.m * (in.omf * in.omf));
}

void deriveDeadBand(const PhysicalSystem& in, Derived* d) {
    d->Yc = in.Fric / in.K;
    d->Ys = in.Fs > 0.0 ? in.Fs / in.K : 0.0;
}

void deriveEnteredPoint(const PhysicalSystem& in, Derived* d) {
    d->givenRatio = enteredRatio(in, *d);
    const ClosedFormSystem closed = closedFormSystem(*d);
    d->hasYZA = continuousAmplitude(d->givenRatio, closed, &d->YZA) == 1;
    if (d->hasYZA && staticBand(closed) > closed.Yc) {
        // A static band above Yc may hold the mass where the sliding motion would turn:
        // that solution is then no motion at all.
        d->hasYZA = continuousTurns(d->givenRatio, closed);
    }
    double dwellAngle = 0.0;
    double stopPhase = 0.0;
    d->YZB = stickSlipAmplitude(d->givenRatio, closed, &dwellAngle, &stopPhase);
    d->hasYZB = d->YZB >= 0.0;
}

void beginFriction(const PhysicalSystem& in, Derived* d, Chart* chart, ChartPass* pass) {
    deriveDeadBand(in, d);
    chart->ratioStep = gridRatioStep;
    chart->sweepCount = gridSweepCount;
    startChart(*d, chart, pass); // the helpers sweep while the entered point is solved
    deriveEnteredPoint(in, d);
}

void finishFriction(Derived* d, Chart* chart, ChartPass* pass) {
    if (d->YZB < 0.0) {
        d->YZB = noStickSlipAmplitude;
    }
    finishChart(d, chart, pass);
}

void deriveMotion(const PhysicalSystem& in, Derived* d) {
    deriveSpringMassDamper(in, d);
    deriveExternalForce(in, d);
}

void deriveEnteredValues(const PhysicalSystem& in, Derived* d) {
    deriveMotion(in, d);
    deriveDeadBand(in, d);
    deriveEnteredPoint(in, d);
}

void deriveFirstPass(const PhysicalSystem& in, Derived* d, Chart* chart) {
    deriveMotion(in, d);
    ChartPass pass = {};
    beginFriction(in, d, chart, &pass);
    finishFriction(d, chart, &pass);
}

ExactSteady enteredExactSteady(const Derived& d) {
    return exactSteadyState(exactSystem(d));
}

} // namespace fv
