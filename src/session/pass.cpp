// What a dialogue pass does to the state: the model derives, the session resets what
// the window shows.
#include "session/pass.h"

#include "model/cycle.h"

namespace fv {

namespace {

constexpr double defaultVerticalScale = 1.0;   // window units per metre
constexpr double defaultTimeAxisScale = 0.005; // window units per sample
constexpr double defaultFreqAxisScale = 0.001; // window units per ratio step
constexpr Point2 defaultMechanismOrigin = {0.01, 0.0};
constexpr Point2 defaultTimeChartOrigin = {-0.99, 0.0};

} // namespace

void deriveSpringMassDamper(State& s) {
    deriveSpringMassDamper(s.input, &s.derived);
}

void deriveExternalForce(State& s) {
    deriveExternalForce(s.input, &s.derived);
}

void beginFriction(State& s, ChartPass* pass) {
    beginFriction(s.input, &s.derived, &s.chart, pass);
}

void finishFriction(State& s, ChartPass* pass) {
    finishFriction(&s.derived, &s.chart, pass);
}

void deriveFriction(State& s) {
    ChartPass pass = {};
    beginFriction(s, &pass);
    finishFriction(s, &pass);
}

void resetTimeResponseAndView(State& s) {
    Motion& motion = s.motion;
    View& v = s.view;
    const MotionState start = initialMotion(s.input);
    motion.stateY[0] = start.y;
    motion.stateY[1] = start.v;
    motion.simTime = start.t;
    motion.timeRingIndex = 0;
    motion.velocityRing[0] = start.v;
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

bool startInSteadyMotion(State& s) {
    const SteadyStart start = steadyMotionStart(s.input, s.derived);
    Motion& motion = s.motion;
    motion.stateY[0] = start.state.y;
    motion.stateY[1] = start.state.v;
    motion.simTime = start.state.t;
    motion.timeRingIndex = 0;
    return start.found;
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
