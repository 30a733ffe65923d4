// Reference stick-slip sweep: straightforward, one residual at a time, beta at every
// evaluation, no tables, one thread.
#include "freqchar/reference_sweep.h"

#include <cmath>

#include "analysis/continuous.h"
#include "analysis/range.h"
#include "state/state.h"

namespace ref {

namespace {

void freeMotion(const fv::ClosedFormSystem& sys, double h0, double w, double T, double wd,
                double s1, double s2, double* h, double* dh) {
    const double zeta = sys.zeta;
    if (zeta < 1.0) {
        const double e = std::exp(-zeta * T);
        const double cw = std::cos(wd * T);
        const double sw = std::sin(wd * T);
        const double u = (zeta * h0 - w) / wd;
        *h = e * (h0 * cw + u * sw);
        *dh = e * (-(zeta * cw + wd * sw) * h0 + (wd * cw - zeta * sw) * u);
    } else if (zeta > 1.0) {
        const double e1 = std::exp(-s1 * T);
        const double e2 = std::exp(-s2 * T);
        const double c1 = (s2 * h0 - w) / (s2 - s1);
        const double c2 = (s1 * h0 - w) / (s1 - s2);
        *h = c1 * e1 + c2 * e2;
        *dh = -(s1 * c1 * e1 + s2 * c2 * e2);
    } else {
        const double e = std::exp(-zeta * T);
        const double c1 = zeta * h0 - w;
        *h = (h0 + c1 * T) * e;
        *dh = (-zeta * h0 + (1.0 - zeta * T) * c1) * e;
    }
}

double residual(const fv::ClosedFormSystem& sys, double z, double wd, double s1, double s2,
                double P, double Q, double halfPeriod, double theta, double* beta) {
    const double Yf = sys.Yf;
    const double Yc = sys.Yc;
    const double T = halfPeriod - theta / z;
    const double st = std::sin(theta);
    const double ct = std::cos(theta);
    const double A0 = Yf * st - P * st - Q * ct;
    const double B0 = Yf * ct - P * ct + Q * st;
    const double W1 = z * (P * ct - Q * st);
    const double W2 = -z * (P * st + Q * ct);
    double hA, dhA, hB, dhB;
    freeMotion(sys, A0, W1, T, wd, s1, s2, &hA, &dhA);
    freeMotion(sys, B0, W2, T, wd, s1, s2, &hB, &dhB);
    const double X1 = Yf * st - Q + hA;
    const double X2 = Yf * ct - P + hB;
    const double V1 = -z * P + dhA;
    const double V2 = z * Q + dhB;
    const double a = -2.0 * Yc * V2;
    const double b = 2.0 * Yc * V1;
    const double g = X1 * V2 - V1 * X2;
    *beta = std::atan2(b / g, a / g);
    return a * a + b * b - g * g;
}

} // namespace

double stickSlipAmplitude(const fv::ClosedFormSystem& sys, double z) {
    const double zeta = sys.zeta;
    const double Yf = sys.Yf;
    const double Yc = sys.Yc;
    const double z2 = z * z;
    const double D = (1.0 - z2) * (1.0 - z2) + 4.0 * zeta * zeta * z2;
    const double P = (1.0 - z2) * Yf / D;
    const double Q = -2.0 * zeta * z * Yf / D;
    const double halfPeriod = fv::analysisPi / z;
    double wd = 0.0, s1 = 0.0, s2 = 0.0;
    if (zeta < 1.0) {
        wd = std::sqrt(1.0 - zeta * zeta);
    } else if (zeta > 1.0) {
        s1 = zeta - std::sqrt(zeta * zeta - 1.0);
        s2 = zeta + std::sqrt(zeta * zeta - 1.0);
    }
    double thetas[400], betas[400];
    int count = 0;
    auto test = [&](double theta, double beta) {
        const double A = Yf * std::sin(theta + beta) + Yc;
        if (A >= 0.001 && (z >= 1.0 || beta >= 0.0)) {
            thetas[count] = theta;
            betas[count] = beta;
            ++count;
        }
    };
    double thA = 0.01, betaA;
    double fA = residual(sys, z, wd, s1, s2, P, Q, halfPeriod, thA, &betaA);
    for (;;) {
        const double thB = thA + 0.01;
        if (thB > 2.94159265358979) {
            break;
        }
        double betaB;
        const double fB = residual(sys, z, wd, s1, s2, P, Q, halfPeriod, thB, &betaB);
        if (std::fabs(fB / fA) < 1e-6) {
            test(thB, betaB);
        } else if (fA * fB < 0.0) {
            double a = thA, fa = fA, b = thB, fb = fB;
            for (long k = 0; k < 10000000; ++k) {
                const double r = a - fa * (b - a) / (fb - fa);
                double betaR;
                const double fr = residual(sys, z, wd, s1, s2, P, Q, halfPeriod, r, &betaR);
                if (std::isnan(r) || std::isnan(fr)) {
                    break;
                }
                if (std::fabs(fr / fB) < 1e-6) {
                    test(r, betaR);
                    break;
                }
                if (fa * fr > 0.0) {
                    a = r;
                    fa = fr;
                } else {
                    b = r;
                    fb = fr;
                }
            }
        }
        thA = thB;
        fA = fB;
    }
    if (count == 0) {
        return -1.0;
    }
    double best = 0.0;
    int chosen = 0;
    for (int i = 0; i < count; ++i) {
        const double A = Yf * std::sin(thetas[i] + betas[i]) + Yc;
        if (A > best) {
            best = A;
            chosen = i;
        }
    }
    return Yf * std::sin(thetas[chosen] + betas[chosen]) + Yc;
}

void sweepStickSlipAmplitude(const fv::ClosedFormSystem& sys, double step, int n,
                             fv::AmplitudeCurve& curve) {
    curve.ratio[0] = 0.0;
    curve.amplitude[0] = sys.Yf - sys.Yc;
    for (int i = 1; i <= n; ++i) {
        const double z = static_cast<double>(i) * step;
        curve.ratio[i] = z;
        curve.amplitude[i] = stickSlipAmplitude(sys, z);
    }
}

// The pass as the reference writes it: one shared zeta, set to each family member in
// turn and restored.
void group3Pass(fv::State& s) {
    fv::Chart& c = s.chart;
    fv::Derived& d = s.derived;
    fv::ClosedFormSystem shared = fv::closedFormSystem(s);
    c.ratioStep = 0.0025;
    c.sweepCount = 1200;
    fv::sweepContinuousAmplitude(c.ratioStep, c.sweepCount, shared, c.continuousCurve);
    fv::continuousAmplitude(d.givenRatio, shared, &d.YZA);
    sweepStickSlipAmplitude(shared, c.ratioStep, c.sweepCount, c.stickSlipCurve);
    fv::trimContinuousCurve(c.continuousCurve, c.stickSlipCurve, c.sweepCount, &c.continuousRange);
    d.YZB = stickSlipAmplitude(shared, d.givenRatio);
    const double entered = shared.zeta;
    for (int k = 0; k < fv::familySize; ++k) {
        shared.zeta = fv::zetaTable[k];
        fv::sweepContinuousAmplitude(c.ratioStep, c.sweepCount, shared, c.continuousCurves[k]);
        sweepStickSlipAmplitude(shared, c.ratioStep, c.sweepCount, c.stickSlipCurves[k]);
        fv::trimContinuousCurve(c.continuousCurves[k], c.stickSlipCurves[k], c.sweepCount,
                                &c.continuousRange);
    }
    shared.zeta = entered;
}

} // namespace ref
