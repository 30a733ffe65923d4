// Work off the event loop: the regime map and the exact dots computed by background
// jobs equal, bit for bit, those computed at once; a cancelled job leaves nothing.
#include <chrono>
#include <cstring>
#include <thread>

#include <gtest/gtest.h>

#include "control/background.h"
#include "control/params.h"

namespace {

// Collects until no job is under way, at most seconds.
void waitForJobs(double seconds) {
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long>(seconds * 1000));
    while (fv::backgroundWorkRunning() && std::chrono::steady_clock::now() < deadline) {
        fv::collectBackgroundWork();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

TEST(BackgroundWork, ResultsEqualThoseComputedAtOnce) {
    fv::regimeMapReady = false;
    fv::exactDotsReady = false;
    const fv::ClosedFormSystem sys = {0.2, 0.5, 0.1};
    fv::startRegimeMapJob(0.2);
    fv::startExactDotsJob(sys);
    EXPECT_TRUE(fv::regimeMapJobProgress(0.2).running);
    EXPECT_FALSE(fv::regimeMapJobProgress(0.3).running) << "a job answers for its zeta only";
    waitForJobs(300.0);
    ASSERT_TRUE(fv::regimeMapReady && fv::exactDotsReady);

    static fv::RegimeMap atOnce;
    fv::computeRegimeMap(0.2, &atOnce);
    EXPECT_EQ(std::memcmp(&atOnce, &fv::regimeMap, sizeof atOnce), 0);
    static fv::ExactDots dotsAtOnce;
    fv::computeExactDots(sys, &dotsAtOnce);
    for (int k = 0; k < fv::exactDotCount; ++k) {
        const fv::ExactSteady& a = dotsAtOnce.steady[k];
        const fv::ExactSteady& b = fv::exactDots.steady[k];
        EXPECT_EQ(std::memcmp(&a.amplitude, &b.amplitude, sizeof a.amplitude), 0) << k;
        EXPECT_EQ(a.stopsPerCycle, b.stopsPerCycle) << k;
    }
}

TEST(BackgroundWork, CancelledJobLeavesNothing) {
    fv::regimeMapReady = false;
    fv::startRegimeMapJob(0.0);
    fv::cancelBackgroundWork();
    EXPECT_FALSE(fv::backgroundWorkRunning());
    EXPECT_TRUE(fv::stopBackgroundWork(30.0)) << "its threads end after the cell they are on";
    EXPECT_FALSE(fv::collectBackgroundWork());
    EXPECT_FALSE(fv::regimeMapReady);
}

} // namespace
