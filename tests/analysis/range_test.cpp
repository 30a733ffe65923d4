// Continuous-motion range: the index pair and the erased points for stick-slip
// curves of each shape.
#include <gtest/gtest.h>

#include "analysis/continuous.h"
#include "analysis/range.h"
#include "freqchar/curves.h"

namespace {

constexpr int n = 1200;
constexpr double continuousValue = 0.5;

fv::AmplitudeCurve continuous;
fv::AmplitudeCurve stickSlip;

void fill(double stickSlipValue) {
    for (int i = 0; i <= n; ++i) {
        continuous.amplitude[i] = continuousValue;
        stickSlip.amplitude[i] = stickSlipValue;
    }
}

// Indices of continuous points that were erased, as a count and the first/last.
int erasedCount() {
    int count = 0;
    for (int i = 0; i <= n; ++i) {
        count += continuous.amplitude[i] == -1.0 ? 1 : 0;
    }
    return count;
}

TEST(TrimContinuousCurve, NoStickSlipPointKeepsEverything) {
    fill(-1.0);
    fv::IndexRange range = {-5, -5};
    fv::trimContinuousCurve(continuous, stickSlip, n, &range);
    EXPECT_EQ(range.low, 0);
    EXPECT_EQ(range.high, n);
    EXPECT_EQ(erasedCount(), 0);

    stickSlip.amplitude[n] = 0.3; // a value only at the last point changes nothing
    fv::trimContinuousCurve(continuous, stickSlip, n, &range);
    EXPECT_EQ(range.low, 0);
    EXPECT_EQ(range.high, n);
    EXPECT_EQ(erasedCount(), 0);
}

TEST(TrimContinuousCurve, StickSlipEverywhere) {
    fill(0.2);
    fv::IndexRange range = {};
    fv::trimContinuousCurve(continuous, stickSlip, n, &range);
    EXPECT_EQ(range.low, n - 1);
    EXPECT_EQ(range.high, n);
    EXPECT_EQ(continuous.amplitude[n - 3], -1.0);
    EXPECT_EQ(continuous.amplitude[n - 2], continuousValue);
    EXPECT_EQ(erasedCount(), n - 2);
}

TEST(TrimContinuousCurve, ShortRunAtTheStartErasesNothing) {
    fill(-1.0);
    stickSlip.amplitude[0] = 0.02;
    stickSlip.amplitude[1] = 0.01;
    fv::IndexRange range = {};
    fv::trimContinuousCurve(continuous, stickSlip, n, &range);
    EXPECT_EQ(range.low, 1);
    EXPECT_EQ(range.high, n);
    EXPECT_EQ(erasedCount(), 0);
}

TEST(TrimContinuousCurve, LowerRunAndUpperRegion) {
    fill(-1.0);
    for (int i = 0; i <= 399; ++i) {
        stickSlip.amplitude[i] = 0.3;
    }
    stickSlip.amplitude[200] = 0.0; // zero belongs to the run
    for (int i = 900; i <= n; ++i) {
        stickSlip.amplitude[i] = 0.1;
    }
    fv::IndexRange range = {};
    fv::trimContinuousCurve(continuous, stickSlip, n, &range);
    EXPECT_EQ(range.low, 399);
    EXPECT_EQ(range.high, 900);
    EXPECT_EQ(continuous.amplitude[397], -1.0);
    EXPECT_EQ(continuous.amplitude[398], continuousValue);
    EXPECT_EQ(continuous.amplitude[900], continuousValue);
    EXPECT_EQ(continuous.amplitude[901], -1.0);
    EXPECT_EQ(erasedCount(), 398 + (n - 900));
}

TEST(TrimContinuousCurve, LowerRunWithoutUpperRegion) {
    fill(-1.0);
    for (int i = 5; i <= 99; ++i) {
        stickSlip.amplitude[i] = 0.3;
    }
    fv::IndexRange range = {};
    fv::trimContinuousCurve(continuous, stickSlip, n, &range);
    EXPECT_EQ(range.low, 99);
    EXPECT_EQ(range.high, n);
    EXPECT_EQ(erasedCount(), 98);
}

} // namespace

// Short stick-slip runs between the low-ratio run and the upper region, where the mass
// stops several times per cycle, erase nothing above them: the upper region is the run
// that reaches the end of the grid, and without one nothing above the low run goes.
namespace {

void setRun(int from, int to, double value) {
    for (int i = from; i <= to; ++i) {
        stickSlip.amplitude[i] = value;
    }
}

TEST(TrimContinuousCurve, ShortRunsBoundNothing) {
    fill(-1.0);
    setRun(0, 99, 0.9);
    setRun(123, 143, 0.9);
    setRun(600, n, 0.1);
    fv::IndexRange range = {};
    fv::trimContinuousCurve(continuous, stickSlip, n, &range);
    EXPECT_EQ(range.low, 99);
    EXPECT_EQ(range.high, 600);
    EXPECT_EQ(continuous.amplitude[130], continuousValue);
    EXPECT_EQ(erasedCount(), 98 + (n - 600));

    fill(-1.0);
    setRun(0, 99, 0.9);
    setRun(123, 143, 0.9);
    setRun(160, 170, 0.9);
    fv::trimContinuousCurve(continuous, stickSlip, n, &range);
    EXPECT_EQ(range.low, 99);
    EXPECT_EQ(range.high, n);
    EXPECT_EQ(erasedCount(), 98);
}

// Lightly damped systems with little friction, as the dialogue computes them: the
// resonance peak of continuous motion stays on the chart.
TEST(TrimContinuousCurve, LightDampingKeepsTheResonancePeak) {
    struct Case {
        double zeta, frictionRatio;
        int low;
    } cases[] = {{0.05, 0.05, 99}, {0.02, 0.02, 63}, {0.1, 0.05, 107}};
    for (const Case& c : cases) {
        const fv::ClosedFormSystem sys = {c.zeta, 1.0, c.frictionRatio};
        fv::sweepContinuousAmplitude(0.0025, n, sys, continuous);
        fv::sweepStickSlipHere(0.0025, n, sys, stickSlip);
        fv::IndexRange range = {};
        fv::trimContinuousCurve(continuous, stickSlip, n, &range);
        EXPECT_EQ(range.low, c.low) << c.zeta << " " << c.frictionRatio;
        EXPECT_EQ(range.high, n) << c.zeta << " " << c.frictionRatio;
        EXPECT_GT(continuous.amplitude[400], 1.0 / (2.0 * c.zeta) - 1.0) << "peak at z = 1";
    }
}

} // namespace
