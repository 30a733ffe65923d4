// Stick-slip vibration at one frequency ratio. In tau = omega0*t the mass rests at
// x = +A from forcing phase beta to theta + beta, breaks away with
// A = Yf sin(theta + beta) + Yc, moves for T = (pi - theta)/z under
//   x'' + 2 zeta x' + x = Yf sin(z tau + theta + beta) + Yc,
// and must arrive at x = -A, x' = 0, where the mirrored rest begins.
#include "freqchar/stickslip.h"

#include <cmath>

#include "control/params.h"

namespace fv {

namespace {

constexpr double scanStart = 0.01;           // first trial dwell angle [rad]
constexpr double scanStep = 0.01;            // dwell-angle step of the scan [rad]
constexpr double scanEnd = 2.94159265358979; // pi - 0.2: last admissible angle [rad]
constexpr double zeroTolerance = 1e-6;       // |f/f0| below this is a zero
constexpr double minAmplitude = 0.001;       // smallest stick-slip amplitude kept [m]
// Regula falsi ends here without a zero. Ordinary brackets on the chart grid need
// up to about 44,000 iterations, so the bound sits far above them.
constexpr long maxRefinements = 10000000;

// Displacement and velocity of a free motion at tau = T.
struct FreeEnd {
    double h;
    double dh;
};

// Free motion of x'' + 2 zeta x' + x = 0 from displacement h0 and velocity -w,
// evaluated at T in the regime that zeta selects.
FreeEnd freeMotion(double h0, double w, double T, double wd, double s1, double s2) {
    if (zeta < 1.0) {
        const double e = std::exp(-zeta * T);
        const double cw = std::cos(wd * T);
        const double sw = std::sin(wd * T);
        const double u = (zeta * h0 - w) / wd;
        return {e * (h0 * cw + u * sw),
                e * (-(zeta * cw + wd * sw) * h0 + (wd * cw - zeta * sw) * u)};
    }
    if (zeta > 1.0) {
        const double e1 = std::exp(-s1 * T);
        const double e2 = std::exp(-s2 * T);
        const double c1 = (s2 * h0 - w) / (s2 - s1);
        const double c2 = (s1 * h0 - w) / (s1 - s2);
        return {c1 * e1 + c2 * e2, -(s1 * c1 * e1 + s2 * c2 * e2)};
    }
    const double e = std::exp(-zeta * T);
    const double c1 = zeta * h0 - w;
    return {(h0 + c1 * T) * e, (-zeta * h0 + (1.0 - zeta * T) * c1) * e};
}

// Appends (theta, beta) when its amplitude reaches minAmplitude and, below
// resonance, its stop phase is not negative. Not-a-number never passes.
void testCandidate(double z, double theta, double beta, StickSlipCandidate* list, int* count) {
    const double A = Yf * std::sin(theta + beta) + Yc;
    if (!(A >= minAmplitude)) {
        return;
    }
    if (z < 1.0 && !(beta >= 0.0)) {
        return;
    }
    if (*count < maxStickSlipCandidates) {
        list[*count] = {theta, beta};
        *count = *count + 1;
    }
}

// Regula falsi on [thA, thB] whose residuals fA, fB differ in sign. The tolerance
// stays relative to fB0, the residual at the scan point. Returns 1 with the zero and
// its beta, or 0 when a point or residual stops being a number or the iteration
// bound is reached.
int refineBracket(const StickSlipSetup& s, double thA, double fA, double thB, double fB,
                  double* theta, double* beta) {
    const double fB0 = fB;
    for (long k = 0; k < maxRefinements; ++k) {
        const double r = thA - fA * (thB - thA) / (fB - fA);
        double betaR = 0.0;
        const double fR =
            stickSlipResidual(s.z, s.wd, s.s1, s.s2, s.P, s.Q, s.halfPeriod, r, &betaR);
        if (std::isnan(r) || std::isnan(fR)) {
            return 0;
        }
        if (std::fabs(fR / fB0) < zeroTolerance) {
            *theta = r;
            *beta = betaR;
            return 1;
        }
        if (fA * fR > 0.0) {
            thA = r;
            fA = fR;
        } else {
            thB = r;
            fB = fR;
        }
    }
    return 0;
}

} // namespace

StickSlipSetup stickSlipSetup(double z) {
    StickSlipSetup s = {};
    s.z = z;
    const double z2 = z * z;
    const double D = (1.0 - z2) * (1.0 - z2) + 4.0 * zeta * zeta * z2;
    s.P = (1.0 - z2) * Yf / D;
    s.Q = -2.0 * zeta * z * Yf / D;
    s.halfPeriod = analysisPi / z;
    if (zeta < 1.0) {
        s.wd = std::sqrt(1.0 - zeta * zeta);
    } else if (zeta > 1.0) {
        s.s1 = zeta - std::sqrt(zeta * zeta - 1.0);
        s.s2 = zeta + std::sqrt(zeta * zeta - 1.0);
    }
    return s;
}

// The end conditions X1 cos(beta) + X2 sin(beta) = -2 Yc and
// V1 cos(beta) + V2 sin(beta) = 0 are linear in cos(beta) and sin(beta); they are
// consistent exactly when a^2 + b^2 = g^2. Division by zero and overflow are not
// trapped: the candidate test rejects what is not a number.
double stickSlipResidual(double z, double wd, double s1, double s2, double P, double Q,
                         double halfPeriod, double theta, double* beta) {
    const double T = halfPeriod - theta / z;
    const double st = std::sin(theta);
    const double ct = std::cos(theta);
    const double A0 = Yf * st - P * st - Q * ct;
    const double B0 = Yf * ct - P * ct + Q * st;
    const double W1 = z * (P * ct - Q * st);
    const double W2 = -z * (P * st + Q * ct);
    const FreeEnd hA = freeMotion(A0, W1, T, wd, s1, s2);
    const FreeEnd hB = freeMotion(B0, W2, T, wd, s1, s2);
    const double X1 = Yf * st - Q + hA.h;
    const double X2 = Yf * ct - P + hB.h;
    const double V1 = -z * P + hA.dh;
    const double V2 = z * Q + hB.dh;
    const double a = -2.0 * Yc * V2;
    const double b = 2.0 * Yc * V1;
    const double g = X1 * V2 - V1 * X2;
    *beta = std::atan2(b / g, a / g);
    return a * a + b * b - g * g;
}

int stickSlipCandidates(double z, StickSlipCandidate* list) {
    const StickSlipSetup s = stickSlipSetup(z);
    int count = 0;
    double betaA = 0.0;
    double thA = scanStart;
    double fA = stickSlipResidual(z, s.wd, s.s1, s.s2, s.P, s.Q, s.halfPeriod, thA, &betaA);
    for (;;) {
        const double thB = thA + scanStep;
        if (thB > scanEnd) {
            break;
        }
        double betaB = 0.0;
        const double fB =
            stickSlipResidual(z, s.wd, s.s1, s.s2, s.P, s.Q, s.halfPeriod, thB, &betaB);
        if (std::fabs(fB / fA) < zeroTolerance) {
            testCandidate(z, thB, betaB, list, &count);
        } else if (fA * fB < 0.0) {
            double theta = 0.0;
            double beta = 0.0;
            if (refineBracket(s, thA, fA, thB, fB, &theta, &beta) == 1) {
                testCandidate(z, theta, beta, list, &count);
            }
        }
        thA = thB;
        fA = fB;
    }
    return count;
}

double stickSlipAmplitude(double z, double* dwellAngle, double* stopPhase) {
    StickSlipCandidate list[maxStickSlipCandidates];
    const int count = stickSlipCandidates(z, list);
    if (count == 0) {
        return -1.0;
    }
    // The largest amplitude wins; among equal ones the first found (smaller theta).
    double best = 0.0;
    int chosen = 0;
    for (int i = 0; i < count; ++i) {
        const double A = Yf * std::sin(list[i].theta + list[i].beta) + Yc;
        if (A > best) {
            best = A;
            chosen = i;
        }
    }
    *dwellAngle = list[chosen].theta;
    *stopPhase = list[chosen].beta;
    return Yf * std::sin(list[chosen].theta + list[chosen].beta) + Yc;
}

} // namespace fv
