// Time-response integration with solid friction: Runge-Kutta-Gill steps of
//   m y'' + lambda y' + K y = F sin(omf t) - Fr(t, y, y')
// with a friction law that lets the mass stick: Fric against a sliding mass, up to the
// static friction Fs (at least Fric) on one at rest.
#pragma once

namespace fv {

constexpr double timeStep = 0.01; // integration step h [s]
constexpr int stepsPerFrame = 10; // steps per displayed frame: 0.1 s per frame
// The mass counts as at rest below this fraction of the frequency ratio [m/s].
constexpr double stickVelocityFactor = 0.001;

// The values the equation of motion reads.
struct MotionParams {
    double m;        // mass [kg]
    double lambda;   // viscous damping coefficient [N/(m/s)]
    double K;        // spring constant [N/m]
    double F;        // external force amplitude [N]
    double omf;      // forcing angular frequency [rad/s]
    double Fric;     // Coulomb friction force magnitude [N]
    double omega0;   // natural angular frequency as the dialogue derived it [rad/s]
    double Fs = 0.0; // static friction [N]; the rest test uses max(Fric, Fs), so 0 is "as Fric"
};

// The friction force that holds a mass at rest: max(Fric, Fs) [N].
// Fs counts where it is positive and above Fric; otherwise Fric itself, whatever its
// sign, holds as it always did.
inline double staticFriction(const MotionParams& p) {
    return p.Fs > 0.0 && p.Fs > p.Fric ? p.Fs : p.Fric;
}

// One state of the motion and its time.
struct MotionState {
    double t; // simulated time [s]
    double y; // displacement [m]
    double v; // velocity [m/s]
};

// What the strip chart records of a state: the response, the external force and the
// friction force on the mass, with the force's phase term that the force arrow shows.
struct TimeSample {
    double response;   // displacement y [m]
    double forcePhase; // sin(omf t) [-]
    double force;      // external force F sin(omf t) [N]
    double friction;   // friction force on the mass, -Fr [N]
};

// Friction force [N] in the sign convention of the equation above (subtracted from
// the external force) at time t [s], displacement y [m] and velocity v [m/s].
double frictionForce(const MotionParams& p, double t, double y, double v);

// Time derivative of component i (0: displacement, 1: velocity) of state Y at t.
double stateDerivative(const MotionParams& p, int i, double t, const double* Y);

// One Runge-Kutta-Gill step of size h from t for n components, yIn to yOut. False, with
// yOut untouched, when the step's working memory cannot be had.
bool rungeKuttaGillStep(const MotionParams& p, double t, double h, const double* yIn, double* yOut,
                        int n);

// steps steps of timeStep, the time advanced by repeated addition. False when a step
// could not be taken: *s is then the state after the last step taken.
bool advanceSteps(const MotionParams& p, int steps, MotionState* s);

// One frame: stepsPerFrame steps of timeStep, the time advanced by repeated addition.
// False when a step could not be taken: *s is then the state after the last step taken.
bool advanceFrame(const MotionParams& p, MotionState* s);

// The strip chart's sample of state s.
TimeSample timeSample(const MotionParams& p, const MotionState& s);

} // namespace fv
