// The start of a motion that is steady from its first frame: the window's own
// integrator, run from it over a forcing period, comes back to it, and a system without
// a steady motion starts from its initial conditions instead.
#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "model/cycle.h"
#include "model/derive.h"
#include "session/pass.h"
#include "state/state.h"

namespace {

constexpr int stepsPerPeriod = 20000; // Runge-Kutta-Gill steps over one forcing period
// [m] and [m/s]: the window's integrator (fixed steps across friction's switches) keeps
// an orbit of its own, a few 1e-4 m from the exact one at these amplitudes (about 1 m);
// ten times as many steps move it by less than a tenth of that.
constexpr double closeTo = 1e-3;

std::unique_ptr<fv::State> derived(const fv::PhysicalSystem& in) {
    auto s = std::make_unique<fv::State>();
    s->input = in;
    fv::recomputeFrom(*s, 1);
    return s;
}

// The state after one forcing period from start, by the integrator the window plays.
fv::MotionState afterOnePeriod(const fv::State& s, const fv::MotionState& start) {
    const fv::MotionParams p = fv::motionParams(s.input, s.derived);
    const double h = 2.0 * M_PI / s.input.omf / stepsPerPeriod;
    double y[2] = {start.y, start.v};
    for (int k = 0; k < stepsPerPeriod; ++k) {
        double next[2];
        EXPECT_TRUE(fv::rungeKuttaGillStep(p, start.t + k * h, h, y, next, 2));
        y[0] = next[0];
        y[1] = next[1];
    }
    return {start.t + stepsPerPeriod * h, y[0], y[1]};
}

TEST(SteadyStart, OnePeriodOfTheMotionComesBackToIt) {
    // Continuous, stick-slip, and a heavy, stiff system at a high ratio.
    const fv::PhysicalSystem systems[] = {{1.0, 0.2, 1.0, 1.0, 0.8, 0.3, 0.0, 0.0},
                                          {1.0, 0.2, 1.0, 1.0, 0.8, 0.7, 0.5, 0.0},
                                          {2.0, 0.3, 3.0, 1.5, 1.1, 0.4, 0.2, -0.1}};
    for (const fv::PhysicalSystem& in : systems) {
        const auto s = derived(in);
        const fv::SteadyStart start = fv::steadyMotionStart(s->input, s->derived);
        ASSERT_TRUE(start.found) << in.Fric;
        EXPECT_EQ(start.state.t, 0.0); // the force's phase 0
        const fv::MotionState back = afterOnePeriod(*s, start.state);
        EXPECT_NEAR(back.y, start.state.y, closeTo) << in.Fric;
        EXPECT_NEAR(back.v, start.state.v, closeTo) << in.Fric;
        // From rest the same system is elsewhere after a period: the test can fail.
        const fv::MotionState rest = afterOnePeriod(*s, {0.0, 0.0, 0.0});
        EXPECT_GT(std::hypot(rest.y - start.state.y, rest.v - start.state.v), 50 * closeTo);
    }
}

TEST(SteadyStart, WithoutASteadyMotionTheInitialConditions) {
    // Undamped at resonance with little friction: the amplitude grows without bound.
    const auto s = derived({1.0, 0.0, 1.0, 1.0, 1.0, 0.3, 0.25, -0.5});
    const fv::SteadyStart start = fv::steadyMotionStart(s->input, s->derived);
    EXPECT_FALSE(start.found);
    EXPECT_EQ(start.state.y, 0.25);
    EXPECT_EQ(start.state.v, -0.5);
    // The session's start keeps them as the motion's.
    EXPECT_FALSE(fv::startInSteadyMotion(*s));
    EXPECT_EQ(s->motion.stateY[0], 0.25);
    EXPECT_EQ(s->motion.stateY[1], -0.5);
}

} // namespace
