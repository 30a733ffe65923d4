// Work off the event loop: the regime map and the exact dots computed by background
// jobs, and a map's rows computed one by one, equal, bit for bit, those computed at
// once; a cancelled job leaves nothing.
#include <chrono>
#include <cstring>
#include <thread>

#include <gtest/gtest.h>

#include "session/background.h"
#include "support/dialogue_pass.h"

namespace {

// Collects until no job is under way, at most seconds.
void waitForJobs(fv::Session& session, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long>(seconds * 1000));
    while (fv::backgroundWorkRunning(session) && std::chrono::steady_clock::now() < deadline) {
        fv::collectBackgroundWork(session);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

TEST(BackgroundWork, ResultsEqualThoseComputedAtOnce) {
    const auto owned = newState();
    fv::Session& session = owned->session;
    const fv::ClosedFormSystem sys = {0.2, 0.5, 0.1};
    fv::startRegimeMapJob(session, 0.2);
    fv::startExactDotsJob(session, sys);
    EXPECT_TRUE(fv::regimeMapJobProgress(session, 0.2).running);
    EXPECT_FALSE(fv::regimeMapJobProgress(session, 0.3).running)
        << "a job answers for its zeta only";
    waitForJobs(session, 300.0);
    ASSERT_TRUE(session.regimeMapReady && session.exactDotsReady);

    static fv::RegimeMap atOnce;
    fv::computeRegimeMap(0.2, &atOnce);
    EXPECT_EQ(std::memcmp(&atOnce, &session.regimeMap, sizeof atOnce), 0);
    // A row computed whole, as the page's workers compute it, in a map that last held
    // the same row of another system.
    static fv::RegimeMap scratch;
    fv::RegimeCell row[fv::regimeColumns];
    for (const int r : {0, 30, fv::regimeRows - 1}) {
        fv::computeRegimeMapRow({0.0, 2.0}, r, &scratch, row);
        fv::computeRegimeMapRow({0.2, 1.0}, r, &scratch, row);
        EXPECT_EQ(std::memcmp(row, atOnce.cells[r], sizeof row), 0) << "row " << r;
    }
    static fv::ExactDots dotsAtOnce;
    fv::computeExactDots(sys, &dotsAtOnce);
    for (int k = 0; k < fv::exactDotCount; ++k) {
        const fv::ExactSteady& a = dotsAtOnce.steady[k];
        const fv::ExactSteady& b = session.exactDots.steady[k];
        EXPECT_EQ(std::memcmp(&a.amplitude, &b.amplitude, sizeof a.amplitude), 0) << k;
        EXPECT_EQ(a.stopsPerCycle, b.stopsPerCycle) << k;
    }
    EXPECT_TRUE(fv::stopBackgroundWork(session, 30.0));
}

TEST(BackgroundWork, CancelledJobLeavesNothing) {
    const auto owned = newState();
    fv::Session& session = owned->session;
    fv::startRegimeMapJob(session, 0.0);
    fv::cancelBackgroundWork(session);
    EXPECT_FALSE(fv::backgroundWorkRunning(session));
    EXPECT_TRUE(fv::stopBackgroundWork(session, 30.0))
        << "its threads end after the cell they are on";
    EXPECT_FALSE(fv::collectBackgroundWork(session));
    EXPECT_FALSE(session.regimeMapReady);
}

} // namespace
