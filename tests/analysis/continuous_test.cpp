// Continuous-motion amplitude: reference values of the three damping regimes, the
// frictionless limit, the degenerate ratios and the grid.
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "analysis/continuous.h"

namespace {

constexpr double referenceTolerance = 5e-6;    // the reference values carry 5-6 digits [m]
constexpr double frictionlessTolerance = 1e-9; // relative, rounding only

// Yf = 0.1 m, Yc = 0.01 m at resonance in each damping regime.
TEST(ContinuousAmplitude, ReferenceValuesOfTheThreeRegimes) {
    fv::ClosedFormSystem sys = {};
    struct Case {
        double zeta;
        double amplitude;
    } cases[] = {{0.025, 1.74534}, {1.0, 0.043261}, {2.0, 0.021429}};
    for (const Case& c : cases) {
        sys = {c.zeta, 0.1, 0.01};
        double result = 0.0;
        EXPECT_EQ(fv::continuousAmplitude(1.0, sys, &result), 1) << "zeta " << c.zeta;
        EXPECT_NEAR(result, c.amplitude, referenceTolerance) << "zeta " << c.zeta;
    }
}

// Friction only ever lowers the amplitude below the frictionless A0.
TEST(ContinuousAmplitude, FrictionLowersTheFrictionlessAmplitude) {
    fv::ClosedFormSystem sys = {};
    sys = {0.025, 0.1, 0.01};
    for (double z = 0.5; z < 2.0; z += 0.05) {
        double result = 0.0;
        if (fv::continuousAmplitude(z, sys, &result) != 1) {
            continue;
        }
        const double D = (1 - z * z) * (1 - z * z) + 4 * 0.025 * 0.025 * z * z;
        EXPECT_LT(result, 0.1 / std::sqrt(D)) << "z " << z;
    }
}

TEST(ContinuousAmplitude, WithoutFrictionEqualsTheLinearSteadyAmplitude) {
    fv::ClosedFormSystem sys = {};
    for (double zeta : {0.0, 0.1, 1.0, 3.0}) {
        sys = {zeta, 0.5, 0.0};
        for (int i = 1; i <= 1200; i += 7) {
            const double z = i * 0.0025;
            double result = 0.0;
            const int status = fv::continuousAmplitude(z, sys, &result);
            const double D = (1 - z * z) * (1 - z * z) + 4 * zeta * zeta * z * z;
            const double A0 = 0.5 / std::sqrt(D);
            if (std::isnan(result) || std::isinf(A0)) {
                continue; // the documented overflow ratios
            }
            EXPECT_EQ(status, 1) << "zeta " << zeta << " z " << z;
            EXPECT_NEAR(result, A0, frictionlessTolerance * A0) << "zeta " << zeta << " z " << z;
        }
    }
}

TEST(ContinuousAmplitude, DegenerateRatios) {
    fv::ClosedFormSystem sys = {};
    sys = {0.1, 0.5, 0.2};
    double untouched = 42.0;
    EXPECT_EQ(fv::continuousAmplitude(0.0, sys, &untouched), 0);
    EXPECT_EQ(untouched, 42.0);

    // zeta = 0 at resonance: D = 0 and the result is not a number, with status 1.
    sys = {0.0, 0.5, 0.2};
    double result = 0.0;
    EXPECT_EQ(fv::continuousAmplitude(1.0, sys, &result), 1);
    EXPECT_TRUE(std::isnan(result)) << result;

    // Large friction: no phase satisfies the turning-point condition.
    sys = {0.1, 0.1, 0.2};
    EXPECT_EQ(fv::continuousAmplitude(0.3, sys, &result), 0);
    EXPECT_EQ(result, -1.0);
}

TEST(ContinuousAmplitude, SmallNegativeAmplitudeAtLowRatioIsKept) {
    fv::ClosedFormSystem sys = {};
    sys = {0.025, 0.1, 0.01};
    double result = 0.0;
    EXPECT_EQ(fv::continuousAmplitude(0.1975, sys, &result), 1);
    EXPECT_NEAR(result, -0.0089, 5e-5);
}

TEST(ContinuousAmplitude, SweepFillsTheProductGrid) {
    fv::ClosedFormSystem sys = {};
    static fv::AmplitudeCurve curve;
    curve.amplitude[1201] = 7.0;
    sys = {0.1, 0.5, 0.2};
    fv::sweepContinuousAmplitude(0.0025, 1200, sys, curve);
    EXPECT_EQ(curve.ratio[0], 0.0);
    EXPECT_EQ(curve.amplitude[0], -1.0);
    EXPECT_EQ(curve.ratio[400], 1.0);
    EXPECT_EQ(curve.ratio[1200], 1200 * 0.0025);
    EXPECT_EQ(curve.ratio[777], 777.0 * 0.0025);
    EXPECT_EQ(curve.amplitude[1201], 7.0) << "point 1201 is not part of the sweep";
    double expected = 0.0;
    if (fv::continuousAmplitude(1.5, sys, &expected) == 1) {
        EXPECT_EQ(curve.amplitude[600], expected);
    } else {
        EXPECT_EQ(curve.amplitude[600], -1.0);
    }
}

// A count beyond the curve's last point stops at point 2000.
TEST(ContinuousAmplitude, SweepNeverWritesPastTheCurve) {
    fv::ClosedFormSystem sys = {};
    static fv::AmplitudeCurve curves[2];
    curves[1].ratio[0] = 9.0;
    sys = {0.1, 0.5, 0.2};
    fv::sweepContinuousAmplitude(0.0025, 5000, sys, curves[0]);
    EXPECT_EQ(curves[1].ratio[0], 9.0);
    EXPECT_EQ(curves[0].ratio[2000], 2000 * 0.0025);
}

} // namespace

// The continuous solution under a static band Ys above Yc: it holds only where the
// spring and force at its turning points exceed Ys.
TEST(ContinuousTurns, StaticBandHoldsTheMassAtTurningPointsWithinIt) {
    const fv::ClosedFormSystem equal = {0.1, 1.0, 0.3};
    double amplitude = 0.0;
    double theta = 0.0;
    ASSERT_EQ(fv::continuousTurningPoint(1.0, equal, &amplitude, &theta), 1);
    // At resonance the turning point's force is far outside the band: the mass turns,
    // with any band short of that force, and is held by one beyond it.
    const double S = std::fabs(std::sin(theta) - amplitude);
    EXPECT_TRUE(fv::continuousTurns(1.0, equal));
    EXPECT_TRUE(fv::continuousTurns(1.0, {0.1, 1.0, 0.3, 0.999 * S}));
    EXPECT_FALSE(fv::continuousTurns(1.0, {0.1, 1.0, 0.3, 1.001 * S}));
    // The band changes nothing else of the solution.
    double withBand = 0.0;
    ASSERT_EQ(fv::continuousAmplitude(1.0, {0.1, 1.0, 0.3, 0.999 * S}, &withBand), 1);
    EXPECT_EQ(withBand, amplitude);
    // No solution: no turning point.
    EXPECT_FALSE(fv::continuousTurns(0.0, equal));
}

TEST(ContinuousTurns, HeldPointsLeaveTheSweptCurve) {
    static fv::AmplitudeCurve equal;
    static fv::AmplitudeCurve lifted;
    const fv::ClosedFormSystem sys = {0.2, 1.0, 0.3};
    const fv::ClosedFormSystem band = {0.2, 1.0, 0.3, 0.9};
    fv::sweepContinuousAmplitude(0.0025, 1200, sys, equal);
    fv::sweepContinuousAmplitude(0.0025, 1200, band, lifted);
    static fv::AmplitudeCurve untouched;
    untouched = equal;
    fv::dropHeldTurningPoints(1200, sys, untouched); // equal friction: nothing dropped
    EXPECT_EQ(std::memcmp(&untouched, &equal, sizeof equal), 0);
    fv::dropHeldTurningPoints(1200, band, lifted);
    int kept = 0;
    int dropped = 0;
    for (int i = 0; i <= 1200; ++i) {
        if (lifted.amplitude[i] >= 0.0) {
            EXPECT_EQ(lifted.amplitude[i], equal.amplitude[i]) << i;
            EXPECT_TRUE(fv::continuousTurns(lifted.ratio[i], band)) << i;
            kept++;
        } else if (equal.amplitude[i] >= 0.0) {
            EXPECT_FALSE(fv::continuousTurns(equal.ratio[i], band)) << i;
            dropped++;
        }
    }
    EXPECT_GT(kept, 100);                          // around resonance
    EXPECT_GT(dropped, 100);                       // far from it
    fv::dropHeldTurningPoints(5000, band, lifted); // beyond the curve: clamped
}
