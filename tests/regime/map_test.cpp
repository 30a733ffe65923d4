// The regime map against what is known of the undamped system: the boundary of motion
// without stops (0.59628 at z = 2, 0.64658 at 1.5, 0.71321 at 1.2, pi/4 at resonance)
// runs through the cells that contain it, four stops per cycle appear near z = 0.2 and
// Yc/Yf = 0.3, and the map does not depend on the number of threads.
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "regime/map.h"

namespace {

const fv::RegimeMap& undampedMap() {
    static fv::RegimeMap map;
    static bool computed = false;
    if (!computed) {
        fv::computeRegimeMap(0.0, &map, 3);
        computed = true;
    }
    return map;
}

// The column of ratio z and the row whose cell holds friction ratio r.
int column(double z) {
    return static_cast<int>(std::lround(z / 0.025)) - 1;
}

TEST(RegimeMap, BoundaryWithoutStopsAtZeroDamping) {
    const fv::RegimeMap& map = undampedMap();
    struct Known {
        double z, frictionRatio;
    } known[] = {{2.0, 0.59628}, {1.5, 0.64658}, {1.2, 0.71321}, {1.0, M_PI / 4.0}};
    for (const Known& k : known) {
        const int c = column(k.z);
        ASSERT_EQ(fv::regimeRatio(c), k.z);
        // The first stopping row lies just above the boundary, the row below it not.
        const int row = fv::regimeBoundaryRow(map, c);
        EXPECT_LT(fv::regimeFrictionRatio(row - 1), k.frictionRatio) << "z " << k.z;
        EXPECT_GT(fv::regimeFrictionRatio(row), k.frictionRatio) << "z " << k.z;
        EXPECT_EQ(map.cells[row][c].stopsPerCycle, 2) << "z " << k.z;
    }
}

TEST(RegimeMap, FourStopsAtLowRatio) {
    const fv::RegimeCell& cell = undampedMap().cells[15][column(0.2)]; // Yc/Yf = 0.3
    EXPECT_TRUE(cell.converged);
    EXPECT_EQ(cell.stopsPerCycle, 4);
}

TEST(RegimeMap, ThreadsDoNotChangeIt) {
    static fv::RegimeMap oneThread;
    fv::computeRegimeMap(0.0, &oneThread, 1);
    const fv::RegimeMap& threeThreads = undampedMap();
    auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    for (int r = 0; r < fv::regimeRows; ++r) {
        for (int c = 0; c < fv::regimeColumns; ++c) {
            const fv::RegimeCell& a = oneThread.cells[r][c];
            const fv::RegimeCell& b = threeThreads.cells[r][c];
            ASSERT_TRUE(a.stopsPerCycle == b.stopsPerCycle &&
                        same(a.amplitudeExact, b.amplitudeExact) &&
                        same(a.amplitudeChart, b.amplitudeChart) && a.converged == b.converged &&
                        a.atRest == b.atRest && a.chartContinuous == b.chartContinuous)
                << "row " << r << ", column " << c;
        }
    }
}

} // namespace
