// Time-response integration: the friction law's cases, the accuracy of the
// Runge-Kutta-Gill scheme against the exact linear response, and the steady
// amplitude of long runs against the closed-form amplitudes.
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "analysis/continuous.h"
#include "freqchar/stickslip.h"
#include "timeresp/integrate.h"

namespace {

constexpr double linearTolerance = 1e-6;         // fourth order at h = 0.01 s over 20 s [m]
constexpr double steadyRelativeTolerance = 0.01; // steady amplitude against closed form

fv::MotionParams params(double m, double lambda, double K, double F, double omf, double Fric) {
    return {m, lambda, K, F, omf, Fric, std::sqrt(K / m)};
}

fv::ClosedFormSystem closedForms(const fv::MotionParams& p) {
    return {p.lambda / (2.0 * std::sqrt(p.m * p.K)), p.F / p.K, p.Fric / p.K};
}

TEST(FrictionForce, SlidingAndSticking) {
    fv::MotionParams p = params(1.0, 0.2, 1.0, 0.5, 0.5, 0.2); // rest below 0.0005 m/s
    EXPECT_EQ(fv::frictionForce(p, 0.0, 0.0, 0.01), 0.2);
    EXPECT_EQ(fv::frictionForce(p, 0.0, 0.0, -0.01), -0.2);
    // At rest the friction balances S = F sin(omf t) - K y while |S| < Fric.
    EXPECT_EQ(fv::frictionForce(p, 0.0, 0.1, 0.0), -0.1);
    EXPECT_EQ(fv::frictionForce(p, 0.0, 0.1, 0.0005), -0.1) << "the threshold itself is rest";
    EXPECT_EQ(fv::frictionForce(p, 0.0, 0.1, 0.00051), 0.2);
    // Breakaway at and beyond the limit, in the direction of S.
    EXPECT_EQ(fv::frictionForce(p, 0.0, 0.2, 0.0), -0.2);
    EXPECT_EQ(fv::frictionForce(p, 0.0, -0.7, 0.0), 0.2);
    // omf = 0: only an exactly zero velocity is rest, and S = -K y.
    p = params(1.0, 0.2, 1.0, 0.5, 0.0, 0.2);
    EXPECT_EQ(fv::frictionForce(p, 3.0, 0.05, 0.0), -0.05);
    EXPECT_EQ(fv::frictionForce(p, 3.0, 0.05, 1e-300), 0.2);
    p = params(1.0, 0.2, 1.0, 0.5, 0.5, 0.0);
    EXPECT_EQ(fv::frictionForce(p, 1.0, 0.3, 0.0), 0.0);
}

TEST(AdvanceFrame, FirstFrameEndsAtTheSumOfTenSteps) {
    fv::MotionState s = {0.0, 0.0, 0.0};
    fv::advanceFrame(params(1.0, 0.2, 1.0, 0.5, 0.5, 0.2), &s);
    EXPECT_EQ(s.t, 0.09999999999999999);
}

TEST(AdvanceFrame, MassHeldByFrictionStaysExactlyAtRest) {
    const fv::MotionParams p = params(1.0, 0.2, 1.0, 0.15, 0.5, 0.2);
    fv::MotionState s = {0.0, 0.0, 0.0};
    for (int frame = 0; frame < 500; ++frame) {
        fv::advanceFrame(p, &s);
        ASSERT_EQ(s.y, 0.0) << "frame " << frame;
    }
}

// A slow mass under |S| < Fric keeps its velocity when nothing damps it.
TEST(AdvanceFrame, SlowMassIsNotStoppedByFrictionAlone) {
    fv::MotionState s = {0.0, 0.0, 0.0001};
    fv::advanceFrame(params(1.0, 0.0, 1.0, 0.0, 0.5, 0.2), &s);
    EXPECT_NEAR(s.v, 0.0001, 1e-12);
}

// m y'' + lambda y' + K y = F sin(omf t) solved exactly from (y0, v0).
double linearResponse(const fv::MotionParams& p, double t, double y0, double v0) {
    const double w = p.omf;
    const double w0 = p.omega0;
    const double z = closedForms(p).zeta;
    const double den = (p.K - p.m * w * w);
    const double Ad = p.F / std::sqrt(den * den + (p.lambda * w) * (p.lambda * w));
    const double ph = std::atan2(p.lambda * w, den);
    const double wd = w0 * std::sqrt(1.0 - z * z);
    const double c1 = y0 + Ad * std::sin(ph);
    const double c2 = (v0 - Ad * w * std::cos(ph) + z * w0 * c1) / wd;
    return Ad * std::sin(w * t - ph) +
           std::exp(-z * w0 * t) * (c1 * std::cos(wd * t) + c2 * std::sin(wd * t));
}

TEST(AdvanceFrame, WithoutFrictionMatchesTheExactLinearResponse) {
    const fv::MotionParams p = params(2.0, 0.6, 3.0, 1.2, 1.1, 0.0);
    fv::MotionState s = {0.0, 0.1, -0.3};
    double worst = 0.0;
    for (int frame = 1; frame <= 200; ++frame) {
        fv::advanceFrame(p, &s);
        worst = std::fmax(worst, std::fabs(s.y - linearResponse(p, s.t, 0.1, -0.3)));
    }
    EXPECT_LT(worst, linearTolerance);
}

// Largest |y| over the last 40 s of a 400 s run from rest.
double steadyAmplitude(const fv::MotionParams& p) {
    fv::MotionState s = {0.0, 0.0, 0.0};
    double peak = 0.0;
    for (int frame = 1; frame <= 4000; ++frame) {
        fv::advanceFrame(p, &s);
        if (frame > 3600) {
            peak = std::fmax(peak, std::fabs(s.y));
        }
    }
    return peak;
}

TEST(AdvanceFrame, SteadyAmplitudeMatchesTheClosedForm) {
    fv::MotionParams p = params(1.0, 0.2, 1.0, 0.5, 0.5, 0.2); // z = 0.5: stick-slip
    double theta = 0.0;
    double beta = 0.0;
    const double stickSlip = fv::stickSlipAmplitude(0.5, closedForms(p), &theta, &beta);
    EXPECT_NEAR(stickSlip, 0.5914, 1e-4);
    const double simulatedStickSlip = steadyAmplitude(p);
    EXPECT_NEAR(simulatedStickSlip, stickSlip, steadyRelativeTolerance * stickSlip);

    p = params(1.0, 0.2, 1.0, 0.5, 1.0, 0.2); // z = 1: continuous motion
    double continuous = 0.0;
    ASSERT_EQ(fv::continuousAmplitude(1.0, closedForms(p), &continuous), 1);
    EXPECT_NEAR(continuous, 1.2250, 1e-4);
    const double simulatedContinuous = steadyAmplitude(p);
    EXPECT_NEAR(simulatedContinuous, continuous, steadyRelativeTolerance * continuous);
}

} // namespace

// A negative forcing frequency is the force of the other sign: the rest threshold takes
// the ratio's magnitude, and the motion is that of -F at |omf|, bit for bit.
TEST(AdvanceFrame, NegativeForcingFrequencyIsTheForceOfTheOtherSign) {
    const fv::MotionParams negative = {1.0, 0.2, 1.0, 0.5, -0.5, 0.2, 1.0};
    const fv::MotionParams mirrored = {1.0, 0.2, 1.0, -0.5, 0.5, 0.2, 1.0};
    fv::MotionState a = {0.0, 0.1, 0.0};
    fv::MotionState b = a;
    for (int frame = 0; frame < 600; ++frame) {
        fv::advanceFrame(negative, &a);
        fv::advanceFrame(mirrored, &b);
        ASSERT_TRUE(std::isfinite(a.y) && std::isfinite(a.v)) << "frame " << frame;
        ASSERT_EQ(a.y, b.y) << "frame " << frame;
        ASSERT_EQ(a.v, b.v) << "frame " << frame;
    }
    EXPECT_EQ(fv::frictionForce(negative, 0.0, 0.1, 0.0004), -0.1) << "below 0.0005: at rest";
}

// Static friction Fs above the sliding friction Fric: it holds a slow mass, Fric
// resists a sliding one.
namespace {

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

TEST(StaticFriction, EqualToFricEverySampleBitForBit) {
    // 3000 frames of a motion that sticks and slides: Fs left out, equal to Fric, below
    // it or zero give the same samples, and the last frame is the one before Fs existed.
    const fv::MotionParams plain = {1.0, 0.3, 4.0, 1.0, 1.7, 0.6, 2.0};
    fv::MotionParams equal = plain;
    equal.Fs = plain.Fric;
    fv::MotionParams below = plain;
    below.Fs = 0.5 * plain.Fric;
    fv::MotionState a = {0.0, 0.0, 0.0};
    fv::MotionState b = a;
    fv::MotionState c = a;
    for (int frame = 0; frame < 3000; ++frame) {
        fv::advanceFrame(plain, &a);
        fv::advanceFrame(equal, &b);
        fv::advanceFrame(below, &c);
        const fv::TimeSample sa = fv::timeSample(plain, a);
        const fv::TimeSample sb = fv::timeSample(equal, b);
        const fv::TimeSample sc = fv::timeSample(below, c);
        ASSERT_TRUE(sameBits(a.y, b.y) && sameBits(a.v, b.v) && sameBits(a.y, c.y) &&
                    sameBits(a.v, c.v))
            << frame;
        ASSERT_TRUE(sameBits(sa.friction, sb.friction) && sameBits(sa.friction, sc.friction))
            << frame;
    }
    EXPECT_TRUE(sameBits(a.y, -0x1.6984f70031763p-4));
    EXPECT_TRUE(sameBits(a.v, 0x1.4f044f4ee9dfbp-1));
    EXPECT_TRUE(sameBits(fv::timeSample(plain, a).friction, -0x1.3333333333333p-1));
    // A negative Fric (which the dialogue accepts) stays as it was with Fs left out.
    fv::MotionParams negative = plain;
    negative.Fric = -0.6;
    EXPECT_TRUE(sameBits(fv::frictionForce(negative, 0.3, 0.01, 0.0),
                         (std::sin(1.7 * 0.3) - 4.0 * 0.01 > 0.0 ? -0.6 : 0.6)));
}

TEST(StaticFriction, HeldUpToFsAndSlidingAgainstFric) {
    fv::MotionParams p = params(1.0, 0.0, 1.0, 1.0, 1.0, 0.5);
    ASSERT_EQ(std::sin(M_PI / 2.0), 1.0);
    p.Fs = 0.8;
    const double t = M_PI / 2.0; // force F sin(omf t) = 1
    // At rest: held while |F sin - K y| <= Fs (inclusive), broken away beyond it.
    EXPECT_EQ(fv::frictionForce(p, t, 0.3, 0.0), 1.0 - 0.3);
    EXPECT_EQ(fv::frictionForce(p, t, 0.2, 0.0), 1.0 - 0.2); // at the band: held
    EXPECT_EQ(fv::frictionForce(p, t, 0.1, 0.0), 0.5);
    EXPECT_EQ(fv::frictionForce(p, t, 2.5, 0.0), -0.5);
    // Sliding: Fric against the velocity, whatever the force.
    EXPECT_EQ(fv::frictionForce(p, t, 0.3, 0.5), 0.5);
    EXPECT_EQ(fv::frictionForce(p, t, 0.3, -0.5), -0.5);
    // Static friction alone, without sliding friction, still holds.
    p.Fric = 0.0;
    EXPECT_EQ(fv::frictionForce(p, t, 0.3, 0.0), 0.7);
}

TEST(StaticFriction, ForceBelowFsNeverMovesTheMass) {
    // F = 1 N below Fs = 1.2 N: the mass stays exactly at rest, although with the same
    // Fric = 0.5 N and no static friction above it the force moves it.
    fv::MotionParams p = params(1.0, 0.2, 1.0, 1.0, 0.9, 0.5);
    p.Fs = 1.2;
    fv::MotionState held = {0.0, 0.0, 0.0};
    fv::MotionState moves = held;
    const fv::MotionParams sliding = params(1.0, 0.2, 1.0, 1.0, 0.9, 0.5);
    for (int frame = 0; frame < 500; ++frame) {
        fv::advanceFrame(p, &held);
        fv::advanceFrame(sliding, &moves);
        ASSERT_EQ(held.y, 0.0) << frame;
        ASSERT_EQ(held.v, 0.0) << frame;
    }
    EXPECT_GT(std::fabs(moves.y) + std::fabs(moves.v), 0.1);
}
