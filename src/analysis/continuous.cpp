// Continuous-motion amplitude: closed-form solution over one half period of the
// forcing, in dimensionless time tau = omega0*t and frequency ratio z.
#include "analysis/continuous.h"

#include <cmath>

#include "common/damping.h"

namespace fv {

namespace {

// Coefficients of the free-motion part of the half-period solution and the
// cosine X = cos(theta - phase) of the turning-point phase.
struct FreeMotion {
    double A1;
    double B1;
    double X;
    bool addB1; // only the overdamped amplitude carries B1 as a further term
};

// zeta < 1: decaying oscillation; E = exp(zeta*p) is a growth factor here.
FreeMotion underdamped(double z, double p, double A0, const ClosedFormSystem& sys) {
    const double zeta = sys.zeta;
    const double Yc = sys.Yc;
    const double s = std::sqrt(1.0 - zeta * zeta);
    const double cw = std::cos(s * p);
    const double sw = std::sin(s * p);
    const double E = std::exp(zeta * p);
    const double G = E + cw;
    const double Q = -zeta * sw + s * G;
    const double P = zeta * G + s * sw;
    const double N = Q * E;
    const double Den = Q * G + P * sw;
    const double A1 = (-N / Den) * (2.0 * Yc);
    const double B1 = (P / Q) * A1;
    return {A1, B1, (zeta * A1 - s * B1) / (z * A0), false};
}

// zeta == 1: repeated root of the characteristic equation.
FreeMotion critical(double z, double p, double A0, const ClosedFormSystem& sys) {
    const double zeta = sys.zeta;
    const double Yc = sys.Yc;
    const double E = std::exp(-zeta * p);
    const double g = (1.0 - zeta * p) * E + 1.0;
    const double A1 = (-2.0 * Yc * g) / ((1.0 + E) * g + zeta * p * (1.0 + E) * E);
    const double B1 = A1 * zeta * (1.0 + E) / g;
    return {A1, B1, (zeta * A1 - B1) / (z * A0), false};
}

// zeta > 1: two real decay rates l1 < l2.
FreeMotion overdamped(double z, double p, double A0, const ClosedFormSystem& sys) {
    const double zeta = sys.zeta;
    const double Yc = sys.Yc;
    const double r = std::sqrt(zeta * zeta - 1.0);
    const double l1 = zeta - r;
    const double l2 = zeta + r;
    const double e1 = std::exp(-l1 * p);
    const double e2 = std::exp(-l2 * p);
    const double A1 = (-2.0 * Yc * l2) / ((1.0 + e1) * (l2 - l1));
    const double B1 = (-2.0 * Yc * l1) / ((1.0 + e2) * (l1 - l2));
    return {A1, B1, (l1 * A1 + l2 * B1) / (z * A0), true};
}

} // namespace

// Solves x'' + 2 zeta x' + x = Yf sin(z tau + theta) - Yc sign(x') over the half
// period p = pi/z that starts at a turning point x = A, x' = 0 and ends at x = -A.
// Degenerate cases: z == 0 has no half period (nothing written); |X| > 1 means no
// turning-point phase exists (-1.0). Non-finite intermediates (zeta = 0 at
// resonance, exp overflow at tiny z) pass through as not-a-number on purpose.
int continuousAmplitude(double z, const ClosedFormSystem& sys, double* result) {
    double theta = 0.0;
    return continuousTurningPoint(z, sys, result, &theta);
}

int continuousTurningPoint(double z, const ClosedFormSystem& sys, double* result,
                           double* turningPhase) {
    if (z == 0.0) {
        return 0;
    }
    const double zeta = sys.zeta;
    const double Yf = sys.Yf;
    const double Yc = sys.Yc;
    const double z2 = z * z;
    const double D = (1.0 - z2) * (1.0 - z2) + 4.0 * zeta * zeta * z2;
    const double p = analysisPi / z;
    const double A0 = Yf / std::sqrt(D);
    const double a = (1.0 - z2) * Yf / D;
    const double b = -Yf * (2.0 * zeta * z) / D;
    const double phase = std::atan2(2.0 * zeta * z, 1.0 - z2);

    FreeMotion fm;
    switch (dampingRegime(zeta)) {
    case DampingRegime::underdamped:
        fm = underdamped(z, p, A0, sys);
        break;
    case DampingRegime::critical:
        fm = critical(z, p, A0, sys);
        break;
    case DampingRegime::overdamped:
    case DampingRegime::undefined: // not a number: carried through the overdamped form
        fm = overdamped(z, p, A0, sys);
        break;
    }
    if (std::fabs(fm.X) > 1.0) {
        *result = -1.0;
        return 0;
    }
    const double theta = std::acos(fm.X) + phase;
    double amplitude = (b * std::cos(theta) + (a * std::sin(theta) + Yc)) + fm.A1;
    if (fm.addB1) {
        amplitude = amplitude + fm.B1;
    }
    *result = amplitude;
    *turningPhase = theta;
    return 1;
}

bool continuousTurnsAt(const ClosedFormSystem& sys, double amplitude, double theta) {
    return std::fabs(sys.Yf * std::sin(theta) - amplitude) > staticBand(sys);
}

bool continuousTurns(double z, const ClosedFormSystem& sys) {
    double amplitude = -1.0;
    double theta = 0.0;
    return continuousTurningPoint(z, sys, &amplitude, &theta) == 1 &&
           continuousTurnsAt(sys, amplitude, theta);
}

void dropHeldTurningPoints(int count, const ClosedFormSystem& sys, AmplitudeCurve& curve) {
    if (!(staticBand(sys) > sys.Yc)) {
        return;
    }
    if (count > curveCapacity - 1) {
        count = curveCapacity - 1;
    }
    for (int i = 0; i <= count; ++i) {
        if (curve.amplitude[i] >= 0.0 && !continuousTurns(curve.ratio[i], sys)) {
            curve.amplitude[i] = -1.0;
        }
    }
}

void sweepContinuousAmplitude(double step, int count, const ClosedFormSystem& sys,
                              AmplitudeCurve& curve) {
    if (count > curveCapacity - 1) {
        count = curveCapacity - 1; // a curve has no room beyond point 2000
    }
    for (int i = 0; i <= count; ++i) {
        const double z = static_cast<double>(i) * step;
        double amplitude = 0.0;
        curve.ratio[i] = z;
        curve.amplitude[i] = continuousAmplitude(z, sys, &amplitude) == 1 ? amplitude : -1.0;
    }
}

} // namespace fv
