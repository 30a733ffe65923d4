// Time-response integration with solid friction: Runge-Kutta-Gill steps of
//   m y'' + lambda y' + K y = F sin(omf t) - Fr(t, y, y')
// with a friction law that lets the mass stick.
#pragma once

namespace fv {

constexpr double timeStep = 0.01; // integration step h [s]
constexpr int stepsPerFrame = 10; // steps per displayed frame: 0.1 s per frame
// The mass counts as at rest below this fraction of the frequency ratio [m/s].
constexpr double stickVelocityFactor = 0.001;

// Friction force [N] in the sign convention of the equation above (subtracted from
// the external force) at time t [s], displacement y [m] and velocity v [m/s].
double frictionForce(double t, double y, double v);

// Time derivative of component i (0: displacement, 1: velocity) of state Y at t.
double stateDerivative(int i, double t, const double* Y);

// One Runge-Kutta-Gill step of size h from t for n components, yIn to yOut.
void rungeKuttaGillStep(double t, double h, const double* yIn, double* yOut, int n);

// Advances stateY and simTime by stepsPerFrame steps of timeStep.
void advanceFrame();

} // namespace fv
