// The work of a cycle of the exact steady motion on random systems: the force's work
// balances the damper's and friction's, friction takes 4 Yc A where the mass moves
// monotonically between its turning points, and the sampled orbit closes on itself and
// reaches the amplitude.
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "exact/energy.h"
#include "exact/orbit.h"

namespace {

constexpr int randomSystems = 50;
constexpr unsigned seed = 20240601;
constexpr double balanceTolerance = 1e-9; // relative to the force's work
constexpr double pathTolerance = 1e-9;    // friction's work against 4 Yc A, relative
constexpr double closureTolerance = 1e-8; // the orbit after a period, relative to A
constexpr double peakTolerance = 1e-6;    // the sampled peak against A, relative
constexpr int orbitSamples = 20001;       // a turning point within 1e-7 of the phase
constexpr double staticRatio = 1.5;       // Fs/Fric of every third system

// A random system with Yf = 1, as the random tests draw them.
fv::ExactSystem randomSystem(std::mt19937_64& random, int k) {
    std::uniform_real_distribution<double> zeta(0.0, 0.5), z(0.2, 3.0), ratio(0.0, 0.9);
    fv::ExactSystem sys = {zeta(random), z(random), 1.0, ratio(random)};
    if (k % 3 == 2) {
        sys.Ys = staticRatio * sys.Yc;
    }
    return sys;
}

// Velocity reversals around the closed orbit (samples at rest left out): 2 where the
// mass moves monotonically between its turning points.
int reversals(const std::vector<fv::OrbitSample>& samples) {
    int count = 0;
    double last = 0.0;
    double first = 0.0;
    for (const fv::OrbitSample& s : samples) {
        if (s.v != 0.0) {
            count += last != 0.0 && (s.v > 0.0) != (last > 0.0) ? 1 : 0;
            last = s.v;
            first = first != 0.0 ? first : s.v;
        }
    }
    return count + (first != 0.0 && (first > 0.0) != (last > 0.0) ? 1 : 0);
}

TEST(CycleWork, BalancesOnRandomSystems) {
    std::mt19937_64 random(seed);
    int settled = 0;
    int monotonic = 0;
    for (int k = 0; k < randomSystems; ++k) {
        const fv::ExactSystem sys = randomSystem(random, k);
        const fv::ExactSteadyOrbit orbit = fv::exactSteadyOrbit(sys);
        if (!orbit.steady.converged || orbit.steady.atRest) {
            continue;
        }
        ++settled;
        const fv::CycleWork w = fv::exactCycleWork(orbit);
        const double A = orbit.steady.amplitude;
        SCOPED_TRACE(::testing::Message() << "zeta " << sys.zeta << ", z " << sys.z << ", Yc "
                                          << sys.Yc << ", Ys " << sys.Ys);
        EXPECT_GT(w.input, 0.0);
        EXPECT_LE(std::fabs(w.input - (w.viscous + w.friction)), balanceTolerance * w.input);
        const std::vector<fv::OrbitSample> samples = fv::sampleSteadyOrbit(orbit, orbitSamples);
        if (reversals(samples) == 2) {
            ++monotonic;
            EXPECT_NEAR(w.friction, 4.0 * sys.Yc * A, pathTolerance * 4.0 * sys.Yc * A);
        }
        const fv::OrbitSample& first = samples.front();
        const fv::OrbitSample& last = samples.back();
        EXPECT_NEAR(last.x, first.x, closureTolerance * A);
        EXPECT_NEAR(last.v, first.v, closureTolerance * A * std::max(sys.z, 1.0));
        double peak = 0.0;
        for (const fv::OrbitSample& s : samples) {
            peak = std::max(peak, std::fabs(s.x));
        }
        EXPECT_NEAR(peak, A, peakTolerance * A);
    }
    EXPECT_GE(settled, randomSystems * 4 / 5);
    EXPECT_GE(monotonic, settled / 2);
}

TEST(CycleWork, RestAndNoSteadyMotion) {
    const fv::CycleWork rest = fv::exactCycleWork(fv::exactSteadyOrbit({0.1, 1.0, 1.0, 1.2}));
    EXPECT_EQ(rest.input, 0.0);
    EXPECT_EQ(rest.friction, 0.0);
    const fv::ExactSteadyOrbit grows = fv::exactSteadyOrbit({0.0, 1.0, 1.0, 0.1});
    EXPECT_TRUE(std::isnan(fv::exactCycleWork(grows).input));
    const std::vector<fv::OrbitSample> none = fv::sampleSteadyOrbit(grows, 3);
    ASSERT_EQ(none.size(), 3U);
    EXPECT_TRUE(std::isnan(none[1].x));
    EXPECT_TRUE(fv::sampleSteadyOrbit(grows, 1).empty());
}

} // namespace
