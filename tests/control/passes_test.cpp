// Dialogue passes that start at groups (2), (3) and (4): what each prints, what it
// recomputes and what it keeps, run in-process on real standard streams.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "control/chart.h"
#include "control/dialogue.h"
#include "control/params.h"
#include "control/transcripts.h"
#include "support/dialogue_pass.h"

namespace {

bool sameCurve(const fv::AmplitudeCurve& a, const fv::AmplitudeCurve& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct Snapshot {
    fv::AmplitudeCurve continuous, stickSlip, continuousFamily[10], stickSlipFamily[10];
};

void take(Snapshot& s) {
    s.continuous = fv::continuousCurve;
    s.stickSlip = fv::stickSlipCurve;
    for (int k = 0; k < 10; ++k) {
        s.continuousFamily[k] = fv::continuousCurves[k];
        s.stickSlipFamily[k] = fv::stickSlipCurves[k];
    }
}

bool sameCurves(const Snapshot& s) {
    bool same =
        sameCurve(s.continuous, fv::continuousCurve) && sameCurve(s.stickSlip, fv::stickSlipCurve);
    for (int k = 0; k < 10; ++k) {
        same = same && sameCurve(s.continuousFamily[k], fv::continuousCurves[k]) &&
               sameCurve(s.stickSlipFamily[k], fv::stickSlipCurves[k]);
    }
    return same;
}

void disturbScales() {
    fv::timeAxisScale = 0.0045;
    fv::timeRingCapacity = 222;
    fv::verticalScale = 0.9;
    fv::curveScale[0] = 0.9;
    fv::freqAxisScale = 0.0009;
    fv::timeRingIndex = 57;
    fv::simTime = 12.3;
}

void expectDefaultView() {
    EXPECT_EQ(fv::timeAxisScale, 0.005);
    EXPECT_EQ(fv::timeRingCapacity, 200);
    EXPECT_EQ(fv::verticalScale, 1.0);
    EXPECT_EQ(fv::curveScale[0], 1.0);
    EXPECT_EQ(fv::curveScale[1], 1.0 / fv::K);
    EXPECT_EQ(fv::curveScale[2], 1.0 / fv::K);
    EXPECT_EQ(fv::freqAxisScale, 0.001);
    EXPECT_EQ(fv::timeRingIndex, 0);
    EXPECT_EQ(fv::simTime, 0.0);
    EXPECT_EQ(fv::stateY[0], fv::y0);
    EXPECT_EQ(fv::stateY[1], fv::v0);
    EXPECT_EQ(fv::mechanismOrigin.x, 0.01);
    EXPECT_EQ(fv::timeChartOrigin.x, -0.99);
    EXPECT_EQ(fv::freqChartOrigin.x, 0.01);
}

TEST(DialoguePasses, FullPassThenEachLaterGroup) {
    dialoguePass('m', "1 0.2 2\n0.5 0.5\n0.2\n0.1 0\n");
    EXPECT_EQ(fv::curveScale[1], 0.5) << "K = 2";
    EXPECT_EQ(fv::zeta, 0.2 / (2.0 * std::sqrt(2.0))) << "the family pass restores zeta";
    expectDefaultView();

    // 'r': keeps groups (1) and (2), recomputes the friction group and the curves.
    const double omega0 = fv::omega0, Ad = fv::Ad, phi = fv::phi, Yf = fv::Yf;
    Snapshot before;
    take(before);
    disturbScales();
    std::string out = dialoguePass('r', "0.05\n0.2 0.1\n");
    EXPECT_EQ(out.rfind(prompt3Text, 0), 0u) << out;
    EXPECT_EQ(out.find(prompt2Text), std::string::npos);
    EXPECT_EQ(fv::omega0, omega0);
    EXPECT_EQ(fv::Ad, Ad);
    EXPECT_EQ(fv::phi, phi);
    EXPECT_EQ(fv::Yf, Yf);
    EXPECT_EQ(fv::Yc, 0.025);
    EXPECT_FALSE(sameCurves(before)) << "new friction, new curves";
    EXPECT_EQ(fv::y0, 0.2);
    expectDefaultView();

    // 'j': only the initial conditions and the view; the curves stay.
    take(before);
    const double YZA = fv::YZA, YZB = fv::YZB;
    disturbScales();
    out = dialoguePass('j', "-0.1 0.3\n");
    EXPECT_EQ(out, std::string(prompt4Text) + helpText);
    EXPECT_TRUE(sameCurves(before));
    EXPECT_EQ(fv::YZA, YZA);
    EXPECT_EQ(fv::YZB, YZB);
    EXPECT_EQ(fv::stateY[0], -0.1);
    EXPECT_EQ(fv::stateY[1], 0.3);
    expectDefaultView();

    // 'f': groups (2) to (4), no header.
    out = dialoguePass('f', "1 1\n0.2\n0 0\n");
    EXPECT_EQ(out.rfind(prompt2Text, 0), 0u) << out;
    EXPECT_EQ(out.find(prompt1Text), std::string::npos);
    EXPECT_NE(out.find(prompt3Text), std::string::npos);
    EXPECT_EQ(fv::Yf, 0.5);
}

// The red point takes YZB outside the continuous range and YZA inside it, both ends
// of the range included.
TEST(DialoguePasses, RedPointFollowsTheContinuousRange) {
    dialoguePass('m', "1 0.2 1\n0.5 0.5\n0.2\n0 0\n");
    EXPECT_EQ(fv::givenPointAmplitude, fv::YZB) << "z = 0.5 lies in the stick-slip run";
    const int low = fv::continuousRange.low;
    ASSERT_GT(low, 0);
    const double lowRatio = fv::stickSlipCurve.ratio[low];
    char exact[64];
    std::snprintf(exact, sizeof exact, "0.5 %.17g\n0.2\n0 0\n", lowRatio);
    dialoguePass('f', exact);
    ASSERT_EQ(fv::continuousRange.low, low) << "same friction, same range";
    ASSERT_EQ(fv::givenRatio, lowRatio);
    EXPECT_EQ(fv::givenPointAmplitude, fv::YZA) << "the low end counts as continuous";
    dialoguePass('f', "0.5 1.0\n0.2\n0 0\n");
    EXPECT_EQ(fv::givenPointAmplitude, fv::YZA) << "resonance moves continuously";
}

// At the end of input every read fails at once: each pass runs to its end with the
// values it had, and nothing waits.
TEST(DialoguePasses, EndOfInputEndsEveryPass) {
    dialoguePass('m', "1 0.2 1\n0.5 0.5\n0.2\n0.1 0\n");
    const double m = fv::m, F = fv::F, Fric = fv::Fric, y0 = fv::y0, YZB = fv::YZB;
    for (char key : {'m', 'f', 'r', 'j'}) {
        const std::string out = dialoguePass(key, "");
        EXPECT_NE(out.find(helpText), std::string::npos) << key;
        EXPECT_EQ(fv::m, m);
        EXPECT_EQ(fv::F, F);
        EXPECT_EQ(fv::Fric, Fric);
        EXPECT_EQ(fv::y0, y0);
        EXPECT_EQ(fv::YZB, YZB) << "same parameters, same stick-slip amplitude";
    }
}

// A pass from 'f' with a new forcing frequency alone keeps zeta, Yf and Yc: the curves
// are not swept again, and are bit for bit those of a whole recomputation, as are the
// range, YZA, YZB and the red point. zeta = 0.1 is also a family member's, whose
// stick-slip curve the entered one copies.
TEST(DialoguePasses, UnchangedSystemKeepsItsCurves) {
    struct Pass {
        Snapshot curves;
        fv::IndexRange range;
        double YZA, YZB, givenPoint;
    };
    auto record = [](Pass& p) {
        take(p.curves);
        p.range = fv::continuousRange;
        p.YZA = fv::YZA;
        p.YZB = fv::YZB;
        p.givenPoint = fv::givenPointAmplitude;
    };
    static Pass kept;
    static Pass recomputed;
    double& probe = fv::stickSlipCurves[4].amplitude[500]; // a point every sweep writes
    dialoguePass('m', "1 0.2 1\n0.5 0.5\n0.1\n0 0\n");
    const double value = probe;
    probe = 123.0;
    dialoguePass('f', "0.5 1.3\n0.1\n0 0\n");
    EXPECT_EQ(probe, 123.0) << "not swept again";
    probe = value;
    record(kept);

    fv::chartReady = false; // as after another system: everything swept anew
    dialoguePass('f', "0.5 1.3\n0.1\n0 0\n");
    record(recomputed);
    EXPECT_EQ(std::memcmp(&kept.curves, &recomputed.curves, sizeof kept.curves), 0);
    EXPECT_EQ(kept.range.low, recomputed.range.low);
    EXPECT_EQ(kept.range.high, recomputed.range.high);
    EXPECT_EQ(kept.YZA, recomputed.YZA);
    EXPECT_EQ(kept.YZB, recomputed.YZB);
    EXPECT_EQ(kept.givenPoint, recomputed.givenPoint);

    probe = 123.0; // a new force amplitude changes Yf: swept again
    dialoguePass('f', "0.6 1.3\n0.1\n0 0\n");
    EXPECT_NE(probe, 123.0);
}

TEST(DialoguePasses, MissingStickSlipShowsOffChart) {
    dialoguePass('m', "1 0.2 1\n1 1\n0.2\n0 0\n");
    EXPECT_EQ(fv::YZB, 100.0);
}

} // namespace
