// Exact motion of the forced oscillator with Coulomb friction, event by event. In the
// dimensionless time tau = omega0 t and the displacement x [m] the mass obeys
//   x'' + 2 zeta x' + x = Yf sin(z tau) - Yc sgn(x')   while it slides,
//   x' = 0                                              while it sticks.
// Static friction may exceed sliding friction: the static band Ys = Fs/K [m] holds a
// mass at rest, the dead band Yc a sliding one, and Ys < Yc counts as Ys = Yc. A mass
// whose velocity reaches zero sticks when |Yf sin(z tau) - x| <= Ys and turns at once
// otherwise, and a stuck mass breaks away, in the direction of that force, when it
// exceeds Ys. Between events the motion is solved in closed form; no event escapes the
// search, however short it is.
#pragma once

#include <vector>

#include "common/damping.h"

namespace fv {

// The system in the units of the closed forms.
struct ExactSystem {
    double zeta;     // damping ratio [-]
    double z;        // frequency ratio omf/omega0 [-]
    double Yf;       // static deflection F/K [m]
    double Yc;       // dead band Fric/K [m]
    double Ys = 0.0; // static band Fs/K [m]; the motion holds with max(Yc, Ys), so 0 is "as Yc"
};

// The band that holds a mass at rest: max(Yc, Ys) [m].
inline double staticBand(const ExactSystem& sys) {
    return sys.Ys > 0.0 && sys.Ys > sys.Yc ? sys.Ys : sys.Yc;
}

// What moves the mass now.
enum class Sliding { stuck = 0, forward = 1, backward = -1 };

// A state of the motion; tau counts from the start of the current forcing period.
struct ExactState {
    double tau; // time within the period [1/omega0]
    double x;   // displacement [m]
    double v;   // velocity dx/dtau [m]
    Sliding sliding;
};

// What one forcing period of the motion did.
struct PeriodRecord {
    double xMin, xMax; // extremes of the displacement [m]
    int stops;         // slides that ended stuck
    double stuckTime;  // time spent stuck [1/omega0]
    bool stuckForGood; // stuck where the force can never break it away
    bool incomplete;   // the period had more events or work than any real motion has
    long evaluations;  // closed-form evaluations the period took (the work budget's unit)
};

// A stretch of a period between events: the state it starts from, sliding or stuck, and
// the time it ends [1/omega0]. Along a slide the velocity keeps the slide's sign.
struct ExactPiece {
    ExactState start;
    double tauEnd;
};

// Quantities fixed for one system: the particular solution, the free motion's rates
// and the forcing period.
struct ExactSetup {
    ExactSystem sys;
    DampingRegime regime;   // of zeta (never undefined: the system is checked first)
    double wd;              // damped frequency sqrt(1 - zeta^2) (underdamped)
    double r1, r2;          // decay rates r1 > r2 (overdamped; r1 = r2 = -1 critical)
    double P, Q;            // forced response P sin(z tau) + Q cos(z tau)
    double forcedAmplitude; // its amplitude hypot(P, Q) [m]
    bool resonant;          // zeta = 0 and z = 1: forced response -(Yf/2) tau cos(tau)
    double period;          // 2 pi / z
    double fasterCycle;     // the faster of the forcing and the free cycle, 2 pi / max(z, 1)
    // The forced response dwarfs the force and the friction (light damping near
    // resonance): a slide is then evaluated as the free motion of its own start plus
    // the response to the forcing from rest since it began, both of the motion's own
    // size, rather than as the difference of two large terms.
    bool split;
    double detuning; // z - wd, to full relative precision (split)
    double mistune;  // z wd - 1, to full relative precision (split)
};

// False for a system the motion is not defined for: z not positive, zeta negative,
// or a value that is not a finite number (Yc and Ys must not be negative either).
bool validExactSystem(const ExactSystem& sys);

ExactSetup exactSetup(const ExactSystem& sys);

// The state at rest or moving at (x0, v0) at the start of a period: moving in the
// direction of v0, else stuck if the force cannot move it, else sliding its way.
ExactState exactStart(const ExactSetup& s, double x0, double v0);

// Advances *state through one forcing period, event by event, to the start of the
// next (tau = 0 again), and tells what happened in *record. With pieces, the stretches
// of the period are appended to it in order (a slide that could not start is none).
void exactPeriod(const ExactSetup& s, ExactState* state, PeriodRecord* record,
                 std::vector<ExactPiece>* pieces = nullptr);

// The state at tau of a piece (tau from its start to its end), evaluated as the period's
// integration evaluates it: a slide in closed form, a stuck mass where it rests.
ExactState exactPieceAt(const ExactSetup& s, const ExactPiece& piece, double tau);

// The free motion of x'' + 2 zeta x' + x = 0 after time t [1/omega0] from (h0, w0): its
// displacement *h and velocity *w. Linear in (h0, w0): the flow of a slide's deviations.
void exactFreeMotion(const ExactSetup& s, double t, double h0, double w0, double* h, double* w);

// The same motion with a positive ratio: Yf sin(-z tau) = -Yf sin(z tau), so a negative
// ratio is the force of the other sign at the positive one.
inline ExactSystem positiveRatio(const ExactSystem& sys) {
    return sys.z < 0.0 ? ExactSystem{sys.zeta, -sys.z, -sys.Yf, sys.Yc, sys.Ys} : sys;
}

} // namespace fv
