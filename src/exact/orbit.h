// The steady orbit of the exact motion: one forcing period of the settled motion, from
// the state the steady state repeated, stretch by stretch, and its state sampled at
// equally spaced times, each evaluated in closed form.
#pragma once

#include <vector>

#include "exact/steady.h"

namespace fv {

// The stretches of one forcing period of the settled orbit, from its period-start state,
// and the setup they are evaluated with. False, with none, where there is no steady
// motion (the steady state did not converge, grows or is not defined) or the period
// could not be integrated; a mass at rest for good has one stuck stretch.
bool steadyPieces(const ExactSteadyOrbit& orbit, ExactSetup* setup,
                  std::vector<ExactPiece>* pieces);

// A state of the steady orbit.
struct OrbitSample {
    double tau;      // time from the start of the period [1/omega0]
    double x;        // displacement [m]
    double v;        // velocity dx/dtau [m]
    double friction; // friction force on the mass over K [m]: -Yc sgn(x') while it
                     // slides, x - Yf sin(z tau) (what holds it) while it sticks
};

// The sample at tau on a stretch of a period (tau within the stretch).
OrbitSample orbitSampleOn(const ExactSetup& e, const ExactPiece& piece, double tau);

// Smallest number of samples: both ends of the period.
constexpr int minOrbitSamples = 2;

// The orbit at n >= minOrbitSamples times tau = k T / (n - 1), k = 0 .. n - 1, over one
// forcing period T = 2 pi / z, both ends included; x, v and friction are not-a-number
// where there is no steady motion (see steadyPieces). None for n below the minimum.
std::vector<OrbitSample> sampleSteadyOrbit(const ExactSteadyOrbit& orbit, int n);

} // namespace fv
