// The motion the window shows, a frame at a time.
#include "session/motion.h"

namespace fv {

bool advanceMotion(State& s) {
    MotionState m = motionState(s);
    const bool whole = advanceFrame(motionParams(s), &m);
    s.motion.simTime = m.t;
    s.motion.stateY[0] = m.y;
    s.motion.stateY[1] = m.v;
    return whole;
}

bool stepMotion(State& s) {
    if (!advanceMotion(s)) {
        return false;
    }
    recordTimeSample(s);
    return true;
}

void recordTimeSample(State& s) {
    Motion& m = s.motion;
    m.timeRingIndex = m.timeRingIndex + 1;
    if (m.timeRingIndex > s.view.timeRingCapacity) {
        m.timeRingIndex = 0;
    }
    const TimeSample sample = timeSample(motionParams(s), motionState(s));
    m.timeCurves[0][m.timeRingIndex] = sample.response;
    m.timeCurves[1][m.timeRingIndex] = sample.force;
    m.timeCurves[2][m.timeRingIndex] = sample.friction;
    m.velocityRing[m.timeRingIndex] = m.stateY[1];
}

} // namespace fv
