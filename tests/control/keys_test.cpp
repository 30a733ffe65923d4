// Keyboard commands: each zoom key changes its own scales by 0.9 and nothing else,
// the time-axis bound, and the actions of the dialogue keys, ESC and other keys.
#include <gtest/gtest.h>

#include <cmath>

#include "control/keys.h"
#include "control/params.h"
#include "support/dialogue_pass.h"

namespace {

void defaults(double K) {
    fv::K = K;
    fv::verticalScale = 1.0;
    fv::curveScale[0] = 1.0;
    fv::curveScale[1] = 1.0 / K;
    fv::curveScale[2] = 1.0 / K;
    fv::timeAxisScale = 0.005;
    fv::timeRingCapacity = 200;
    fv::freqAxisScale = 0.001;
    fv::simTime = 4.5;
    fv::timeRingIndex = 17;
    fv::stateY[0] = 0.25;
    fv::stateY[1] = -0.5;
}

// The items no zoom key may touch.
void expectMotionUntouched() {
    EXPECT_EQ(fv::simTime, 4.5);
    EXPECT_EQ(fv::timeRingIndex, 17);
    EXPECT_EQ(fv::stateY[0], 0.25);
    EXPECT_EQ(fv::stateY[1], -0.5);
}

TEST(ApplyKey, TimeAxisKeys) {
    defaults(1.0);
    EXPECT_EQ(fv::applyKey('t'), fv::KeyAction::redraw);
    EXPECT_EQ(fv::timeAxisScale, 0.005 * 0.9);
    EXPECT_EQ(fv::timeRingCapacity, 222);
    EXPECT_EQ(fv::verticalScale, 1.0);
    EXPECT_EQ(fv::freqAxisScale, 0.001);
    expectMotionUntouched();

    defaults(1.0);
    fv::applyKey('T');
    EXPECT_EQ(fv::timeAxisScale, 0.005 / 0.9);
    EXPECT_EQ(fv::timeRingCapacity, 180);
    expectMotionUntouched();
}

TEST(ApplyKey, TimeRingCapacityNeverExceedsTheRing) {
    defaults(1.0);
    for (int i = 0; i < 21; ++i) {
        fv::applyKey('t');
    }
    EXPECT_EQ(fv::timeRingCapacity, 1827);
    const double scale = fv::timeAxisScale;
    EXPECT_EQ(fv::applyKey('t'), fv::KeyAction::redraw) << "a refused 't' still draws a frame";
    EXPECT_EQ(fv::timeRingCapacity, 1827);
    EXPECT_EQ(fv::timeAxisScale, scale);
    for (int i = 0; i < 100; ++i) {
        fv::applyKey('t');
        ASSERT_LE(fv::timeRingCapacity, fv::maxTimeRingCapacity);
    }
    // 'T' far beyond the window: the capacity falls to 0, never below.
    for (int i = 0; i < 10000; ++i) {
        fv::applyKey('T');
        ASSERT_GE(fv::timeRingCapacity, 0);
    }
}

TEST(ApplyKey, VerticalKeysScaleEverythingTogether) {
    defaults(2.0);
    fv::applyKey('y');
    EXPECT_EQ(fv::verticalScale, 0.9);
    EXPECT_EQ(fv::curveScale[0], 0.9);
    EXPECT_EQ(fv::curveScale[1], 0.45);
    EXPECT_EQ(fv::curveScale[2], 0.45);
    EXPECT_EQ(fv::timeAxisScale, 0.005);
    EXPECT_EQ(fv::freqAxisScale, 0.001);
    expectMotionUntouched();

    defaults(2.0);
    fv::applyKey('Y');
    EXPECT_EQ(fv::verticalScale, 1.0 / 0.9);
    EXPECT_EQ(fv::curveScale[1], 0.5 / 0.9);
}

TEST(ApplyKey, FrequencyAxisKeys) {
    defaults(1.0);
    fv::applyKey('z');
    EXPECT_EQ(fv::freqAxisScale, 0.001 * 0.9);
    fv::applyKey('Z');
    EXPECT_EQ(fv::freqAxisScale, 0.001 * 0.9 / 0.9);
    EXPECT_EQ(fv::verticalScale, 1.0);
    EXPECT_EQ(fv::timeAxisScale, 0.005);
    expectMotionUntouched();
}

TEST(ApplyKey, DialogueKeysRestartTheClockAndStopThePlayback) {
    for (unsigned char key : {'m', 'f', 'r', 'j'}) { // NOLINT
        defaults(1.0);
        fv::playing = true;
        EXPECT_EQ(fv::applyKey(key), fv::KeyAction::console) << key;
        EXPECT_EQ(fv::currentKey, static_cast<char>(key));
        EXPECT_EQ(fv::simTime, 0.0);
        EXPECT_FALSE(fv::playing);
    }
    fv::playing = true;
    EXPECT_EQ(fv::applyKey(' '), fv::KeyAction::playback);
    EXPECT_EQ(fv::applyKey('s'), fv::KeyAction::redraw);
    EXPECT_TRUE(fv::playing) << "only the space bar and the console stop it";
    fv::playing = false;
}

TEST(ApplyKey, OtherKeysOnlyStoreThemselves) {
    const int others[] = {'s', 'S', 'M', 'J', 'x', '1', '\t', 200};
    for (int key : others) {
        defaults(1.0);
        EXPECT_EQ(fv::applyKey(static_cast<unsigned char>(key)), fv::KeyAction::redraw) << key;
        EXPECT_EQ(fv::currentKey, static_cast<char>(key));
        EXPECT_EQ(fv::timeAxisScale, 0.005);
        EXPECT_EQ(fv::verticalScale, 1.0);
        EXPECT_EQ(fv::freqAxisScale, 0.001);
        expectMotionUntouched();
    }
    EXPECT_EQ(fv::applyKey(27), fv::KeyAction::quit);
    EXPECT_EQ(fv::currentKey, 27);
}

// 'a' on a system whose resonance peak (9.37 m) lies far above the start scale: every
// vertical scale grows or shrinks by one factor, and the peak of the entered curves sits
// at 90 % of the chart's height; the ratio axis stays.
TEST(ApplyKey, FitPutsTheEnteredPeakNearTheTop) {
    dialoguePass('m', "1 0.1 1\n1 1\n0.05\n0 0\n");
    const double before[3] = {fv::curveScale[0], fv::curveScale[1], fv::curveScale[2]};
    double peak = 0.0;
    for (int i = 0; i < fv::sweepCount; ++i) {
        peak = std::fmax(peak, fv::continuousCurve.amplitude[i]);
    }
    EXPECT_NEAR(peak, 9.37, 0.01);
    EXPECT_EQ(fv::applyKey('a'), fv::KeyAction::redraw);
    EXPECT_NEAR(fv::freqChartOrigin.y + peak * fv::verticalScale, 0.9, 1e-12);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(fv::curveScale[k] / before[k], fv::verticalScale, 1e-12) << k;
    }
    EXPECT_EQ(fv::freqAxisScale, 0.001);
    const double fitted = fv::verticalScale;
    fv::applyKey('a');
    EXPECT_NEAR(fv::verticalScale, fitted, 1e-15) << "a second 'a' keeps the fit";
}

} // namespace
