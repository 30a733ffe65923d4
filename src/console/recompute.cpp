// What a dialogue pass recomputes. The order of the operations is the dialogue's, so
// that every value is the same double whichever front end asks for it.
#include "console/recompute.h"

#include <cmath>

#include "analysis/continuous.h"
#include "freqchar/stickslip.h"

namespace fv {

namespace {

constexpr double noStickSlipAmplitude = 100.0; // red point far off-chart
constexpr double defaultVerticalScale = 1.0;   // window units per metre
constexpr double defaultTimeAxisScale = 0.005; // window units per sample
constexpr double defaultFreqAxisScale = 0.001; // window units per ratio step
constexpr Point2 defaultMechanismOrigin = {0.01, 0.0};
constexpr Point2 defaultTimeChartOrigin = {-0.99, 0.0};

} // namespace

void deriveSpringMassDamper(State& s) {
    const Inputs& in = s.input;
    s.derived.omega0 = std::sqrt(in.K / in.m);
    s.derived.zeta = in.lambda / (2.0 * std::sqrt(in.m * in.K));
}

void deriveExternalForce(State& s) {
    const Inputs& in = s.input;
    Derived& d = s.derived;
    d.Yf = in.F / in.K;
    d.As = d.Yf;
    const double stiffness = in.K - in.m * (in.omf * in.omf);
    d.Ad = in.F / std::sqrt(stiffness * stiffness + (in.lambda * in.omf) * (in.lambda * in.omf));
    d.phi = std::atan2(in.lambda * in.omf, in.K - in.m * (in.omf * in.omf));
}

void beginFriction(State& s, ChartPass* pass) {
    Derived& d = s.derived;
    d.Yc = s.input.Fric / s.input.K;
    s.chart.ratioStep = gridRatioStep;
    s.chart.sweepCount = gridSweepCount;
    startChart(s, pass);
    d.givenRatio = s.input.omf / d.omega0;
    d.hasYZA = continuousAmplitude(d.givenRatio, closedFormSystem(s), &d.YZA) == 1;
    double dwellAngle = 0.0;
    double stopPhase = 0.0;
    d.YZB = stickSlipAmplitude(d.givenRatio, closedFormSystem(s), &dwellAngle, &stopPhase);
    d.hasYZB = d.YZB >= 0.0;
}

void finishFriction(State& s, ChartPass* pass) {
    if (s.derived.YZB < 0.0) {
        s.derived.YZB = noStickSlipAmplitude;
    }
    finishChart(s, pass);
}

void deriveFriction(State& s) {
    ChartPass pass = {};
    beginFriction(s, &pass);
    finishFriction(s, &pass);
}

void resetTimeResponseAndView(State& s) {
    Motion& motion = s.motion;
    View& v = s.view;
    motion.stateY[0] = s.input.y0;
    motion.stateY[1] = s.input.v0;
    motion.simTime = 0.0;
    motion.timeRingIndex = 0;
    v.mechanismOrigin = defaultMechanismOrigin;
    v.timeChartOrigin = defaultTimeChartOrigin;
    v.freqChartOrigin = v.mechanismOrigin;
    v.verticalScale = defaultVerticalScale;
    v.curveScale[0] = v.verticalScale;
    v.curveScale[2] = v.verticalScale / s.input.K;
    v.curveScale[1] = v.curveScale[2];
    v.timeAxisScale = defaultTimeAxisScale;
    v.timeRingCapacity = static_cast<int>(1.0 / v.timeAxisScale);
    v.freqAxisScale = defaultFreqAxisScale;
}

void recomputeFrom(State& s, int group) {
    if (group <= 1) {
        deriveSpringMassDamper(s);
    }
    if (group <= 2) {
        deriveExternalForce(s);
    }
    if (group <= 3) {
        deriveFriction(s);
    }
    resetTimeResponseAndView(s);
}

} // namespace fv
