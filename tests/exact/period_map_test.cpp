// The period map's exact Jacobian against central differences of the map itself, over
// the three damping regimes, stops, turns, breakaways against a static band and the
// split evaluation near resonance; and the trajectory's events against the friction law.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "exact/period_map.h"
#include "exact/steady.h"
#include "exact/trajectory.h"

namespace {

constexpr double fdStep = 1e-6;      // of the state's size: central differences good to about 1e-9
constexpr double fdTolerance = 1e-6; // relative to the Jacobian's largest entry

struct Case {
    const char* name;
    fv::ExactSystem sys;
    int stops; // per cycle of the steady motion
};

const Case cases[] = {
    {"turns, underdamped", {0.05, 0.8, 1.0, 0.3}, 0},
    {"stops, underdamped", {0.1, 0.8, 1.0, 0.9}, 2},
    {"static band above Yc", {0.1, 0.7, 1.0, 0.5, 0.8}, 2},
    {"critical damping", {1.0, 0.6, 1.0, 0.2}, -1},
    {"overdamped", {3.0, 0.7, 1.0, 0.1}, -1},
    {"near resonance, split slides", {1e-4, 1.0002, 1.0, 0.05}, 0},
    {"negative ratio", {0.05, -0.8, 1.0, 0.3}, 0},
};

void expectJacobianIsTheDifference(const fv::ExactSystem& sys, double x0, double v0,
                                   const std::string& where) {
    const fv::PeriodMap map = fv::exactPeriodMap(sys, x0, v0);
    ASSERT_TRUE(map.valid) << where;
    double fd[2][2];
    // Rounding of a large motion (near resonance) would swamp a step of fixed size.
    const double step = fdStep * std::fmax(1.0, std::hypot(x0, v0));
    for (int j = 0; j < 2; ++j) {
        const double dx = j == 0 ? step : 0.0;
        const double dv = j == 1 ? step : 0.0;
        const fv::PeriodMap plus = fv::exactPeriodMap(sys, x0 + dx, v0 + dv);
        const fv::PeriodMap minus = fv::exactPeriodMap(sys, x0 - dx, v0 - dv);
        fd[0][j] = (plus.end.x - minus.end.x) / (2.0 * step);
        fd[1][j] = (plus.end.v - minus.end.v) / (2.0 * step);
    }
    double scale = 0.0;
    for (const auto& row : fd) {
        scale = std::fmax(scale, std::fmax(std::fabs(row[0]), std::fabs(row[1])));
    }
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            EXPECT_NEAR(map.jacobian[i][j], fd[i][j], fdTolerance * scale)
                << where << " entry " << i << j;
        }
    }
}

TEST(PeriodMap, JacobianIsTheFiniteDifferenceOfTheMap) {
    for (const Case& c : cases) {
        const fv::ExactSteadyOrbit orbit = fv::exactSteadyOrbit(c.sys);
        ASSERT_TRUE(orbit.steady.converged) << c.name;
        if (c.stops >= 0) {
            EXPECT_EQ(orbit.steady.stopsPerCycle, c.stops) << c.name;
        }
        const double x = orbit.start.x;
        const double v = orbit.start.v;
        expectJacobianIsTheDifference(c.sys, x, v, std::string(c.name) + " at the fixed point");
        expectJacobianIsTheDifference(c.sys, x + 0.2, v - 0.1, std::string(c.name) + " beside it");
    }
}

TEST(PeriodMap, MultipliersOfStopsTurnsAndTheFreeMotion) {
    const fv::ExactSystem stops = {0.1, 0.8, 1.0, 0.9};
    const fv::ExactSteadyOrbit s = fv::exactSteadyOrbit(stops);
    const fv::Multipliers m = fv::eigenvalues2(fv::exactPeriodMapFrom(s.sys, s.start).jacobian);
    EXPECT_EQ(std::abs(m.mu[1]), 0.0); // a stop forgets the velocity
    EXPECT_LT(std::abs(m.mu[0]), 1.0);
    // Without friction the linear flow alone: |mu| = exp(-2 pi zeta / z).
    const fv::ExactSystem free = {0.05, 0.8, 1.0, 0.0};
    const fv::ExactSteadyOrbit f = fv::exactSteadyOrbit(free);
    const fv::Multipliers mf = fv::eigenvalues2(fv::exactPeriodMapFrom(f.sys, f.start).jacobian);
    const double linear = std::exp(-2.0 * M_PI * 0.05 / 0.8);
    EXPECT_NEAR(std::abs(mf.mu[0]), linear, 1e-12);
    EXPECT_NEAR(std::abs(mf.mu[1]), linear, 1e-12);
    // With friction's turns the product is not the flow's: each turn scales dv by a+/a-.
    const fv::ExactSystem turns = {0.05, 0.8, 1.0, 0.3};
    const fv::ExactSteadyOrbit t = fv::exactSteadyOrbit(turns);
    const fv::PeriodMap mt = fv::exactPeriodMapFrom(t.sys, t.start);
    EXPECT_EQ(mt.events, 2);
    const double det =
        mt.jacobian[0][0] * mt.jacobian[1][1] - mt.jacobian[0][1] * mt.jacobian[1][0];
    EXPECT_GT(std::fabs(det - linear * linear), 0.1 * linear * linear);
}

TEST(PeriodMap, EigenvaluesOfTwoByTwo) {
    const double real[2][2] = {{2.0, 0.0}, {0.0, -0.5}};
    const fv::Multipliers r = fv::eigenvalues2(real);
    EXPECT_EQ(r.mu[0], std::complex<double>(2.0, 0.0));
    EXPECT_EQ(r.mu[1], std::complex<double>(-0.5, 0.0));
    const double rotation[2][2] = {{0.0, -1.0}, {1.0, 0.0}};
    const fv::Multipliers c = fv::eigenvalues2(rotation);
    EXPECT_EQ(c.mu[0], std::complex<double>(0.0, 1.0));
    EXPECT_EQ(c.mu[1], std::complex<double>(0.0, -1.0));
    const double zero[2][2] = {{0.0, 0.0}, {0.0, 0.0}};
    EXPECT_EQ(fv::eigenvalues2(zero).mu[1], std::complex<double>(0.0, 0.0));
}

TEST(PeriodMap, InvalidSystemsAndStatesGiveNoMap) {
    EXPECT_FALSE(fv::exactPeriodMap({-0.1, 1.0, 1.0, 0.1}, 0.0, 0.0).valid);
    EXPECT_FALSE(fv::exactPeriodMap({0.1, 0.0, 1.0, 0.1}, 0.0, 0.0).valid);
    EXPECT_FALSE(fv::exactPeriodMap({0.1, 1.0, 1.0, 0.1}, NAN, 0.0).valid);
    EXPECT_TRUE(std::isnan(fv::exactPeriodMap({0.1, 1.0, 1.0, 0.1}, INFINITY, 0.0).jacobian[0][0]));
}

TEST(Trajectory, EventsFollowTheFrictionLaw) {
    const fv::ExactSystem sys = {0.1, 0.8, 1.0, 0.9};
    const double period = 2.0 * M_PI / sys.z;
    std::vector<double> taus;
    for (int k = 0; k <= 20; ++k) {
        taus.push_back(k * period);
    }
    const fv::ExactTrajectory t = fv::exactTrajectory(sys, 0.5, 0.0, taus, 20.0 * period);
    ASSERT_TRUE(t.complete);
    ASSERT_EQ(t.samples.size(), taus.size());
    ASSERT_EQ(t.periodStarts.size(), 21u);
    ASSERT_GT(t.events.size(), 30u);
    for (std::size_t k = 0; k < t.events.size(); ++k) {
        const fv::ExactEvent& e = t.events[k];
        EXPECT_LE(e.tau, 20.0 * period);
        if (k > 0) {
            EXPECT_GT(e.tau, t.events[k - 1].tau);
            // Stops and breakaways alternate: the mass sticks at every stop.
            EXPECT_NE(e.kind, t.events[k - 1].kind);
        }
        if (e.kind == fv::EventKind::breakaway) {
            EXPECT_NEAR(std::fabs(sys.Yf * std::sin(sys.z * e.tau) - e.x), sys.Yc, 1e-9);
        }
    }
    for (std::size_t k = 0; k < taus.size(); ++k) {
        EXPECT_NEAR(t.samples[k].x, t.periodStarts[k].x, 1e-12);
    }
    // Cancelled before it starts: no period, the samples not a number.
    const std::atomic<bool> cancel{true};
    const fv::ExactTrajectory none =
        fv::exactTrajectory(sys, 0.5, 0.0, taus, 20.0 * period, &cancel);
    EXPECT_FALSE(none.complete);
    EXPECT_TRUE(std::isnan(none.samples.back().x));
}

} // namespace
