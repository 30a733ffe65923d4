// Dialogue passes that start at groups (2), (3) and (4): what each prints, what it
// recomputes and what it keeps, run in-process on real standard streams.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "console/dialogue.h"
#include "console/transcripts.h"
#include "model/chart.h"
#include "state/state.h"
#include "support/dialogue_pass.h"

namespace {

bool sameCurve(const fv::AmplitudeCurve& a, const fv::AmplitudeCurve& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct Snapshot {
    fv::AmplitudeCurve continuous, stickSlip, continuousFamily[10], stickSlipFamily[10];
};

void take(const fv::State& s, Snapshot& k) {
    k.continuous = s.chart.continuousCurve;
    k.stickSlip = s.chart.stickSlipCurve;
    for (int i = 0; i < 10; ++i) {
        k.continuousFamily[i] = s.chart.continuousCurves[i];
        k.stickSlipFamily[i] = s.chart.stickSlipCurves[i];
    }
}

bool sameCurves(const fv::State& s, const Snapshot& k) {
    bool same = sameCurve(k.continuous, s.chart.continuousCurve) &&
                sameCurve(k.stickSlip, s.chart.stickSlipCurve);
    for (int i = 0; i < 10; ++i) {
        same = same && sameCurve(k.continuousFamily[i], s.chart.continuousCurves[i]) &&
               sameCurve(k.stickSlipFamily[i], s.chart.stickSlipCurves[i]);
    }
    return same;
}

void disturbScales(fv::State& s) {
    s.view.timeAxisScale = 0.0045;
    s.view.timeRingCapacity = 222;
    s.view.verticalScale = 0.9;
    s.view.curveScale[0] = 0.9;
    s.view.freqAxisScale = 0.0009;
    s.motion.timeRingIndex = 57;
    s.motion.simTime = 12.3;
}

void expectDefaultView(const fv::State& s) {
    EXPECT_EQ(s.view.timeAxisScale, 0.005);
    EXPECT_EQ(s.view.timeRingCapacity, 200);
    EXPECT_EQ(s.view.verticalScale, 1.0);
    EXPECT_EQ(s.view.curveScale[0], 1.0);
    EXPECT_EQ(s.view.curveScale[1], 1.0 / s.input.K);
    EXPECT_EQ(s.view.curveScale[2], 1.0 / s.input.K);
    EXPECT_EQ(s.view.freqAxisScale, 0.001);
    EXPECT_EQ(s.motion.timeRingIndex, 0);
    EXPECT_EQ(s.motion.simTime, 0.0);
    EXPECT_EQ(s.motion.stateY[0], s.input.y0);
    EXPECT_EQ(s.motion.stateY[1], s.input.v0);
    EXPECT_EQ(s.view.mechanismOrigin.x, 0.01);
    EXPECT_EQ(s.view.timeChartOrigin.x, -0.99);
    EXPECT_EQ(s.view.freqChartOrigin.x, 0.01);
}

TEST(DialoguePasses, FullPassThenEachLaterGroup) {
    const auto owned = newState();
    fv::State& s = *owned;
    dialoguePass(s, 'm', "1 0.2 2\n0.5 0.5\n0.2\n0.1 0\n");
    EXPECT_EQ(s.view.curveScale[1], 0.5) << "K = 2";
    EXPECT_EQ(s.derived.zeta, 0.2 / (2.0 * std::sqrt(2.0))) << "the family pass restores zeta";
    expectDefaultView(s);

    // 'r': keeps groups (1) and (2), recomputes the friction group and the curves.
    const double omega0 = s.derived.omega0, Ad = s.derived.Ad, phi = s.derived.phi,
                 Yf = s.derived.Yf;
    Snapshot before;
    take(s, before);
    disturbScales(s);
    std::string out = dialoguePass(s, 'r', "0.05\n0.2 0.1\n");
    EXPECT_EQ(out.rfind(prompt3Text, 0), 0u) << out;
    EXPECT_EQ(out.find(prompt2Text), std::string::npos);
    EXPECT_EQ(s.derived.omega0, omega0);
    EXPECT_EQ(s.derived.Ad, Ad);
    EXPECT_EQ(s.derived.phi, phi);
    EXPECT_EQ(s.derived.Yf, Yf);
    EXPECT_EQ(s.derived.Yc, 0.025);
    EXPECT_FALSE(sameCurves(s, before)) << "new friction, new curves";
    EXPECT_EQ(s.input.y0, 0.2);
    expectDefaultView(s);

    // 'j': only the initial conditions and the view; the curves stay.
    take(s, before);
    const double YZA = s.derived.YZA, YZB = s.derived.YZB;
    disturbScales(s);
    out = dialoguePass(s, 'j', "-0.1 0.3\n");
    EXPECT_EQ(out, std::string(prompt4Text) + helpText);
    EXPECT_TRUE(sameCurves(s, before));
    EXPECT_EQ(s.derived.YZA, YZA);
    EXPECT_EQ(s.derived.YZB, YZB);
    EXPECT_EQ(s.motion.stateY[0], -0.1);
    EXPECT_EQ(s.motion.stateY[1], 0.3);
    expectDefaultView(s);

    // 'f': groups (2) to (4), no header.
    out = dialoguePass(s, 'f', "1 1\n0.2\n0 0\n");
    EXPECT_EQ(out.rfind(prompt2Text, 0), 0u) << out;
    EXPECT_EQ(out.find(prompt1Text), std::string::npos);
    EXPECT_NE(out.find(prompt3Text), std::string::npos);
    EXPECT_EQ(s.derived.Yf, 0.5);
}

// The red point takes YZB outside the continuous range and YZA inside it, both ends
// of the range included.
TEST(DialoguePasses, RedPointFollowsTheContinuousRange) {
    const auto owned = newState();
    fv::State& s = *owned;
    dialoguePass(s, 'm', "1 0.2 1\n0.5 0.5\n0.2\n0 0\n");
    EXPECT_EQ(s.derived.givenPointAmplitude, s.derived.YZB) << "z = 0.5 lies in the stick-slip run";
    const int low = s.chart.continuousRange.low;
    ASSERT_GT(low, 0);
    const double lowRatio = s.chart.stickSlipCurve.ratio[low];
    char exact[64];
    std::snprintf(exact, sizeof exact, "0.5 %.17g\n0.2\n0 0\n", lowRatio);
    dialoguePass(s, 'f', exact);
    ASSERT_EQ(s.chart.continuousRange.low, low) << "same friction, same range";
    ASSERT_EQ(s.derived.givenRatio, lowRatio);
    EXPECT_EQ(s.derived.givenPointAmplitude, s.derived.YZA) << "the low end counts as continuous";
    dialoguePass(s, 'f', "0.5 1.0\n0.2\n0 0\n");
    EXPECT_EQ(s.derived.givenPointAmplitude, s.derived.YZA) << "resonance moves continuously";
}

// At the end of input every read fails at once: each pass runs to its end with the
// values it had, and nothing waits.
TEST(DialoguePasses, EndOfInputEndsEveryPass) {
    const auto owned = newState();
    fv::State& s = *owned;
    dialoguePass(s, 'm', "1 0.2 1\n0.5 0.5\n0.2\n0.1 0\n");
    const double m = s.input.m, F = s.input.F, Fric = s.input.Fric, y0 = s.input.y0,
                 YZB = s.derived.YZB;
    for (char key : {'m', 'f', 'r', 'j'}) {
        const std::string out = dialoguePass(s, key, "");
        EXPECT_NE(out.find(helpText), std::string::npos) << key;
        EXPECT_EQ(s.input.m, m);
        EXPECT_EQ(s.input.F, F);
        EXPECT_EQ(s.input.Fric, Fric);
        EXPECT_EQ(s.input.y0, y0);
        EXPECT_EQ(s.derived.YZB, YZB) << "same parameters, same stick-slip amplitude";
    }
}

// A pass from 'f' with a new forcing frequency alone keeps zeta, Yf and Yc: the curves
// are not swept again, and are bit for bit those of a whole recomputation, as are the
// range, YZA, YZB and the red point. zeta = 0.1 is also a family member's, whose
// stick-slip curve the entered one copies.
TEST(DialoguePasses, UnchangedSystemKeepsItsCurves) {
    const auto owned = newState();
    fv::State& s = *owned;
    struct Pass {
        Snapshot curves;
        fv::IndexRange range;
        double YZA, YZB, givenPoint;
    };
    auto record = [&s](Pass& p) {
        take(s, p.curves);
        p.range = s.chart.continuousRange;
        p.YZA = s.derived.YZA;
        p.YZB = s.derived.YZB;
        p.givenPoint = s.derived.givenPointAmplitude;
    };
    static Pass kept;
    static Pass recomputed;
    double& probe = s.chart.stickSlipCurves[4].amplitude[500]; // a point every sweep writes
    dialoguePass(s, 'm', "1 0.2 1\n0.5 0.5\n0.1\n0 0\n");
    const double value = probe;
    probe = 123.0;
    dialoguePass(s, 'f', "0.5 1.3\n0.1\n0 0\n");
    EXPECT_EQ(probe, 123.0) << "not swept again";
    probe = value;
    record(kept);

    s.chart.chartReady = false; // as after another system: everything swept anew
    dialoguePass(s, 'f', "0.5 1.3\n0.1\n0 0\n");
    record(recomputed);
    EXPECT_EQ(std::memcmp(&kept.curves, &recomputed.curves, sizeof kept.curves), 0);
    EXPECT_EQ(kept.range.low, recomputed.range.low);
    EXPECT_EQ(kept.range.high, recomputed.range.high);
    EXPECT_EQ(kept.YZA, recomputed.YZA);
    EXPECT_EQ(kept.YZB, recomputed.YZB);
    EXPECT_EQ(kept.givenPoint, recomputed.givenPoint);

    probe = 123.0; // a new force amplitude changes Yf: swept again
    dialoguePass(s, 'f', "0.6 1.3\n0.1\n0 0\n");
    EXPECT_NE(probe, 123.0);
}

TEST(DialoguePasses, MissingStickSlipShowsOffChart) {
    const auto owned = newState();
    fv::State& s = *owned;
    dialoguePass(s, 'm', "1 0.2 1\n1 1\n0.2\n0 0\n");
    EXPECT_EQ(s.derived.YZB, 100.0);
}

} // namespace
