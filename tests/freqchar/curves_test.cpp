// Stick-slip amplitude curves: point 0, the product grid, the missing values and the
// untouched tail.
#include <cmath>

#include <gtest/gtest.h>

#include "freqchar/curves.h"
#include "freqchar/stickslip.h"

namespace {

fv::AmplitudeCurve curve;

TEST(SweepStickSlipAmplitude, PointsMatchTheSingleRatioSearch) {
    fv::ClosedFormSystem sys = {};
    sys = {0.1, 0.5, 0.2};
    curve.amplitude[1201] = 3.5;
    fv::sweepStickSlipCurves(0.0025, 1200, &sys, &curve, 1);
    EXPECT_EQ(curve.ratio[0], 0.0);
    EXPECT_EQ(curve.amplitude[0], 0.5 - 0.2);
    EXPECT_EQ(curve.amplitude[1201], 3.5);
    for (int i : {1, 17, 200, 399, 400, 401, 800, 1200}) {
        double theta = 0.0;
        double beta = 0.0;
        EXPECT_EQ(curve.ratio[i], i * 0.0025);
        EXPECT_EQ(curve.amplitude[i], fv::stickSlipAmplitude(i * 0.0025, sys, &theta, &beta))
            << "point " << i;
    }
    EXPECT_EQ(curve.ratio[400], 1.0);
}

TEST(SweepStickSlipAmplitude, MissingValues) {
    fv::ClosedFormSystem sys = {};
    sys = {0.0, 0.5, 0.2};
    fv::sweepStickSlipCurves(0.0025, 1200, &sys, &curve, 1);
    EXPECT_EQ(curve.amplitude[400], -1.0) << "no stick-slip at resonance without damping";

    sys = {0.1, 0.0, 0.2}; // no force
    fv::sweepStickSlipCurves(0.0025, 1200, &sys, &curve, 1);
    EXPECT_EQ(curve.amplitude[0], -0.2);
    for (int i = 1; i <= 1200; ++i) {
        ASSERT_EQ(curve.amplitude[i], -1.0) << "point " << i;
    }

    sys = {0.1, 0.5, 0.0}; // no friction: no bracket, and no direct hit with damping
    fv::sweepStickSlipCurves(0.0025, 1200, &sys, &curve, 1);
    EXPECT_EQ(curve.amplitude[0], 0.5);
    int found = 0;
    for (int i = 1; i <= 1200; ++i) {
        found += curve.amplitude[i] >= 0.0 ? 1 : 0;
    }
    EXPECT_LE(found, 5);
}

} // namespace
