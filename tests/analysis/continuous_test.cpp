// Continuous-motion amplitude: reference values of the three damping regimes, the
// frictionless limit, the degenerate ratios and the grid.
#include <cmath>

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
