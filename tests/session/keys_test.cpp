// Keyboard commands: each zoom key changes its own scales by 0.9 and nothing else,
// the time-axis bound, and the actions of the dialogue keys, ESC and other keys.
#include <gtest/gtest.h>

#include <cmath>

#include "session/keys.h"
#include "state/state.h"
#include "support/dialogue_pass.h"

namespace {

void defaults(fv::State& s, double K) {
    s.input.K = K;
    s.view.verticalScale = 1.0;
    s.view.curveScale[0] = 1.0;
    s.view.curveScale[1] = 1.0 / K;
    s.view.curveScale[2] = 1.0 / K;
    s.view.timeAxisScale = 0.005;
    s.view.timeRingCapacity = 200;
    s.view.freqAxisScale = 0.001;
    s.motion.simTime = 4.5;
    s.motion.timeRingIndex = 17;
    s.motion.stateY[0] = 0.25;
    s.motion.stateY[1] = -0.5;
}

// The items no zoom key may touch.
void expectMotionUntouched(const fv::State& s) {
    EXPECT_EQ(s.motion.simTime, 4.5);
    EXPECT_EQ(s.motion.timeRingIndex, 17);
    EXPECT_EQ(s.motion.stateY[0], 0.25);
    EXPECT_EQ(s.motion.stateY[1], -0.5);
}

TEST(ApplyKey, TimeAxisKeys) {
    const auto owned = newState();
    fv::State& s = *owned;
    defaults(s, 1.0);
    EXPECT_EQ(fv::applyKey(s, 't'), fv::KeyAction::redraw);
    EXPECT_EQ(s.view.timeAxisScale, 0.005 * 0.9);
    EXPECT_EQ(s.view.timeRingCapacity, 222);
    EXPECT_EQ(s.view.verticalScale, 1.0);
    EXPECT_EQ(s.view.freqAxisScale, 0.001);
    expectMotionUntouched(s);

    defaults(s, 1.0);
    fv::applyKey(s, 'T');
    EXPECT_EQ(s.view.timeAxisScale, 0.005 / 0.9);
    EXPECT_EQ(s.view.timeRingCapacity, 180);
    expectMotionUntouched(s);
}

TEST(ApplyKey, TimeRingCapacityNeverExceedsTheRing) {
    const auto owned = newState();
    fv::State& s = *owned;
    defaults(s, 1.0);
    for (int i = 0; i < 21; ++i) {
        fv::applyKey(s, 't');
    }
    EXPECT_EQ(s.view.timeRingCapacity, 1827);
    const double scale = s.view.timeAxisScale;
    EXPECT_EQ(fv::applyKey(s, 't'), fv::KeyAction::redraw) << "a refused 't' still draws a frame";
    EXPECT_EQ(s.view.timeRingCapacity, 1827);
    EXPECT_EQ(s.view.timeAxisScale, scale);
    for (int i = 0; i < 100; ++i) {
        fv::applyKey(s, 't');
        ASSERT_LE(s.view.timeRingCapacity, fv::maxTimeRingCapacity);
    }
    // 'T' far beyond the window: the capacity falls to 0, never below.
    for (int i = 0; i < 10000; ++i) {
        fv::applyKey(s, 'T');
        ASSERT_GE(s.view.timeRingCapacity, 0);
    }
}

TEST(ApplyKey, VerticalKeysScaleEverythingTogether) {
    const auto owned = newState();
    fv::State& s = *owned;
    defaults(s, 2.0);
    fv::applyKey(s, 'y');
    EXPECT_EQ(s.view.verticalScale, 0.9);
    EXPECT_EQ(s.view.curveScale[0], 0.9);
    EXPECT_EQ(s.view.curveScale[1], 0.45);
    EXPECT_EQ(s.view.curveScale[2], 0.45);
    EXPECT_EQ(s.view.timeAxisScale, 0.005);
    EXPECT_EQ(s.view.freqAxisScale, 0.001);
    expectMotionUntouched(s);

    defaults(s, 2.0);
    fv::applyKey(s, 'Y');
    EXPECT_EQ(s.view.verticalScale, 1.0 / 0.9);
    EXPECT_EQ(s.view.curveScale[1], 0.5 / 0.9);
}

TEST(ApplyKey, FrequencyAxisKeys) {
    const auto owned = newState();
    fv::State& s = *owned;
    defaults(s, 1.0);
    fv::applyKey(s, 'z');
    EXPECT_EQ(s.view.freqAxisScale, 0.001 * 0.9);
    fv::applyKey(s, 'Z');
    EXPECT_EQ(s.view.freqAxisScale, 0.001 * 0.9 / 0.9);
    EXPECT_EQ(s.view.verticalScale, 1.0);
    EXPECT_EQ(s.view.timeAxisScale, 0.005);
    expectMotionUntouched(s);
}

TEST(ApplyKey, DialogueKeysRestartTheClockAndStopThePlayback) {
    const auto owned = newState();
    fv::State& s = *owned;
    for (unsigned char key : {'m', 'f', 'r', 'j'}) { // NOLINT
        defaults(s, 1.0);
        s.session.playback.playing = true;
        EXPECT_EQ(fv::applyKey(s, key), fv::KeyAction::console) << key;
        EXPECT_EQ(s.session.currentKey, static_cast<char>(key));
        EXPECT_EQ(s.motion.simTime, 0.0);
        EXPECT_FALSE(s.session.playback.playing);
    }
    s.session.playback.playing = true;
    EXPECT_EQ(fv::applyKey(s, ' '), fv::KeyAction::playback);
    EXPECT_EQ(fv::applyKey(s, 's'), fv::KeyAction::redraw);
    EXPECT_TRUE(s.session.playback.playing) << "only the space bar and the console stop it";
    s.session.playback.playing = false;
}

TEST(ApplyKey, OtherKeysOnlyStoreThemselves) {
    const auto owned = newState();
    fv::State& s = *owned;
    const int others[] = {'s', 'S', 'M', 'J', 'x', '1', '\t', 200};
    for (int key : others) {
        defaults(s, 1.0);
        EXPECT_EQ(fv::applyKey(s, static_cast<unsigned char>(key)), fv::KeyAction::redraw) << key;
        EXPECT_EQ(s.session.currentKey, static_cast<char>(key));
        EXPECT_EQ(s.view.timeAxisScale, 0.005);
        EXPECT_EQ(s.view.verticalScale, 1.0);
        EXPECT_EQ(s.view.freqAxisScale, 0.001);
        expectMotionUntouched(s);
    }
    EXPECT_EQ(fv::applyKey(s, 27), fv::KeyAction::quit);
    EXPECT_EQ(s.session.currentKey, 27);
}

// 'a' on a system whose resonance peak (9.37 m) lies far above the start scale: every
// vertical scale grows or shrinks by one factor, and the peak of the entered curves sits
// at 90 % of the chart's height; the ratio axis stays.
TEST(ApplyKey, FitPutsTheEnteredPeakNearTheTop) {
    const auto owned = newState();
    fv::State& s = *owned;
    dialoguePass(s, 'm', "1 0.1 1\n1 1\n0.05\n0 0\n");
    const double before[3] = {s.view.curveScale[0], s.view.curveScale[1], s.view.curveScale[2]};
    double peak = 0.0;
    for (int i = 0; i < s.chart.sweepCount; ++i) {
        peak = std::fmax(peak, s.chart.continuousCurve.amplitude[i]);
    }
    EXPECT_NEAR(peak, 9.37, 0.01);
    EXPECT_EQ(fv::applyKey(s, 'a'), fv::KeyAction::redraw);
    EXPECT_NEAR(s.view.freqChartOrigin.y + peak * s.view.verticalScale, 0.9, 1e-12);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(s.view.curveScale[k] / before[k], s.view.verticalScale, 1e-12) << k;
    }
    EXPECT_EQ(s.view.freqAxisScale, 0.001);
    const double fitted = s.view.verticalScale;
    fv::applyKey(s, 'a');
    EXPECT_NEAR(s.view.verticalScale, fitted, 1e-15) << "a second 'a' keeps the fit";
}

} // namespace
