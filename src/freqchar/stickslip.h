// Stick-slip vibration at one frequency ratio: the steady motion that rests for a
// while at each extreme, found by scanning the dwell angle of the rest and refining
// the zeros of a closed-form residual. The mass breaks away at the static band
// max(Yc, Ys) and slides against Yc; with Ys <= Yc the two are one friction force.
#pragma once

#include "analysis/system.h"

namespace fv {

// The scan can find at most one zero per step: 293 steps from 0.02 to 2.94.
constexpr int maxStickSlipCandidates = 300;

// One accepted zero of the residual: dwell angle theta [rad] and stop phase beta [rad].
struct StickSlipCandidate {
    double theta;
    double beta;
};

// Quantities derived once per frequency ratio for the residual.
struct StickSlipSetup {
    double z;          // frequency ratio [-]
    double wd;         // damped natural frequency ratio (zeta < 1)
    double s1;         // slower decay rate (zeta > 1)
    double s2;         // faster decay rate (zeta > 1)
    double P;          // in-phase coefficient of the frictionless response [m]
    double Q;          // quadrature coefficient of the frictionless response [m]
    double halfPeriod; // pi/z in units of tau
};

// Builds the setup for ratio z.
StickSlipSetup stickSlipSetup(double z, const ClosedFormSystem& system);

// Residual a^2 + b^2 - g^2 of the end conditions of system for dwell angle theta; zero
// exactly when a stop phase exists, which is written to *beta.
double stickSlipResidual(double z, double wd, double s1, double s2, double P, double Q,
                         double halfPeriod, double theta, const ClosedFormSystem& system,
                         double* beta);

// Refines the zero of the residual between dwell angles thA and thB, whose residuals
// fA and fB differ in sign, by regula falsi. Returns 1 with the zero in *theta and its
// stop phase in *beta, or 0 when there is none to be had; *iterations tells how many
// residuals it evaluated.
int refineStickSlipBracket(const StickSlipSetup& s, const ClosedFormSystem& system, double thA,
                           double fA, double thB, double fB, double* theta, double* beta,
                           long* iterations);

// Scans the dwell angle at ratio z and writes every accepted zero, in scan order,
// to list (room for maxStickSlipCandidates). Returns their number.
int stickSlipCandidates(double z, const ClosedFormSystem& system, StickSlipCandidate* list);

// Amplitude [m] of the stick-slip solution at ratio z with the largest amplitude, or
// -1.0 when there is none; theta and beta of that solution go to *dwellAngle and
// *stopPhase, which are left untouched when there is none.
double stickSlipAmplitude(double z, const ClosedFormSystem& system, double* dwellAngle,
                          double* stopPhase);

} // namespace fv
