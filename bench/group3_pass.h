// Benchmark support: a state set up for a group (3) pass of zeta, Yf, Yc and givenRatio
// (through inputs that give them exactly: m = K = 1), and the pass itself as the dialogue
// computes it (the curves always swept anew).
#pragma once

#include "session/pass.h"
#include "state/state.h"

inline void setUpGroup3(fv::State& s, double zeta, double Yf, double Yc, double givenRatio) {
    s.input = {1.0, 2.0 * zeta, 1.0, Yf, givenRatio, Yc, 0.0, 0.0};
    fv::deriveSpringMassDamper(s);
    fv::deriveExternalForce(s);
    s.derived.Yc = s.input.Fric / s.input.K;
    s.derived.givenRatio = s.input.omf / s.derived.omega0;
}

inline void group3Pass(fv::State& s) {
    s.chart.chartReady = false;
    fv::deriveFriction(s);
}
