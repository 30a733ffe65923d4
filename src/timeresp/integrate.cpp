// Time-response integration with solid friction: plain values in, plain values out.
#include "timeresp/integrate.h"

#include <cmath>
#include <cstdlib>

namespace fv {

namespace {

// Gill's coefficients as stored decimals: 1 - sqrt(1/2), 1 + sqrt(1/2), 1/6.
constexpr double gillA = 0.292893219;
constexpr double gillB = 1.70710678;
constexpr double gillC = 0.16666667;
constexpr int workVectors = 6; // W1, W2, W3 and the accumulators Q1, Q2, Q3

} // namespace

// Sliding: Fric against the velocity. At rest (|v| <= 0.001 |z|, inclusive): the
// friction balances the applied force S = F sin(omf t) - K y up to the static friction
// max(Fric, Fs), inclusive, beyond which the mass breaks away in the direction of S and
// Fric resists it. No friction: no force at all. A negative omf is the force of the
// other sign: the threshold takes the ratio's magnitude, which for omf >= 0 is the
// ratio itself. At Fs <= Fric a force of exactly Fric is returned as S, which is then
// bit for bit the Fric of its sign.
double frictionForce(const MotionParams& p, double t, double y, double v) {
    const double holding = staticFriction(p);
    if (holding == 0.0) {
        return 0.0;
    }
    const double vs = std::fabs((stickVelocityFactor * p.omf) / p.omega0);
    if (std::fabs(v) > vs) {
        return (v / std::fabs(v)) * p.Fric;
    }
    const double S = std::sin(p.omf * t) * p.F - p.K * y;
    if (std::fabs(S) <= holding) {
        return S;
    }
    return (S / std::fabs(S)) * p.Fric;
}

double stateDerivative(const MotionParams& p, int i, double t, const double* Y) {
    if (i == 0) {
        return Y[1];
    }
    const double fe = std::sin(p.omf * t) * p.F;
    const double fr = frictionForce(p, t, Y[0], Y[1]);
    return ((fe - fr) - (p.lambda * Y[1] + p.K * Y[0])) / p.m;
}

// Gill's variant of the classical fourth-order Runge-Kutta scheme; each stage runs
// over all components before the next, and the accumulators start from zero.
bool rungeKuttaGillStep(const MotionParams& p, double t, double h, const double* yIn, double* yOut,
                        int n) {
    if (n <= 0) {
        return true; // nothing to integrate
    }
    double* work[workVectors] = {};
    for (int k = 0; k < workVectors; ++k) {
        work[k] = static_cast<double*>(std::calloc(static_cast<std::size_t>(n), sizeof(double)));
        if (work[k] == nullptr) {
            for (int j = 0; j < k; ++j) {
                std::free(work[j]);
            }
            return false;
        }
    }
    double* W1 = work[0];
    double* W2 = work[1];
    double* W3 = work[2];
    double* Q1 = work[3];
    double* Q2 = work[4];
    double* Q3 = work[5];
    for (int i = 0; i < n; ++i) {
        const double k1 = h * stateDerivative(p, i, t, yIn);
        const double r1 = 0.5 * k1;
        W1[i] = r1 + yIn[i];
        Q1[i] = 3.0 * r1 - 0.5 * k1;
    }
    for (int i = 0; i < n; ++i) {
        const double k2 = h * stateDerivative(p, i, t + 0.5 * h, W1);
        const double r2 = (k2 - Q1[i]) * gillA;
        W2[i] = r2 + W1[i];
        Q2[i] = 3.0 * r2 + Q1[i] - gillA * k2;
    }
    for (int i = 0; i < n; ++i) {
        const double k3 = h * stateDerivative(p, i, t + 0.5 * h, W2);
        const double r3 = (k3 - Q2[i]) * gillB;
        W3[i] = r3 + W2[i];
        Q3[i] = 3.0 * r3 + Q2[i] - gillB * k3;
    }
    for (int i = 0; i < n; ++i) {
        const double k4 = h * stateDerivative(p, i, t + h, W3);
        const double r4 = (k4 - 2.0 * Q3[i]) * gillC;
        yOut[i] = r4 + W3[i];
    }
    for (int k = 0; k < workVectors; ++k) {
        std::free(work[k]);
    }
    return true;
}

bool advanceFrame(const MotionParams& p, MotionState* s) {
    return advanceSteps(p, stepsPerFrame, s);
}

bool advanceSteps(const MotionParams& p, int steps, MotionState* s) {
    for (int k = 0; k < steps; ++k) {
        const double in[2] = {s->y, s->v};
        double out[2] = {0.0, 0.0};
        if (!rungeKuttaGillStep(p, s->t, timeStep, in, out, 2)) {
            return false;
        }
        s->y = out[0];
        s->v = out[1];
        s->t = s->t + timeStep;
    }
    return true;
}

TimeSample timeSample(const MotionParams& p, const MotionState& s) {
    const double phase = std::sin(p.omf * s.t);
    return {s.y, phase, phase * p.F, -frictionForce(p, s.t, s.y, s.v)};
}

} // namespace fv
