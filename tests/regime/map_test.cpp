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

// A map for a ratio Fs/Fric of static to sliding friction.
namespace {

bool sameCell(const fv::RegimeCell& a, const fv::RegimeCell& b) {
    auto same = [](double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; };
    return a.stopsPerCycle == b.stopsPerCycle && same(a.amplitudeExact, b.amplitudeExact) &&
           same(a.amplitudeChart, b.amplitudeChart) && a.chartContinuous == b.chartContinuous &&
           a.converged == b.converged && a.atRest == b.atRest && a.grows == b.grows;
}

} // namespace

TEST(RegimeMapStaticRatio, RatioOneIsTheMapOfOneFriction) {
    // Rows and cells of zeta = 0.1 before the ratio existed, bit for bit, and the same
    // at ratio 1 given, or below it.
    static fv::RegimeMap old;
    static fv::RegimeMap one;
    static fv::RegimeMap below;
    for (int row : {0, 12, 30, 54}) {
        fv::computeRegimeChartRow(0.1, row, &old);
        fv::computeRegimeChartRow(0.1, 1.0, row, &one);
        fv::computeRegimeChartRow(0.1, 0.5, row, &below);
        for (int c = 0; c < fv::regimeColumns; c += 7) {
            fv::computeRegimeCell(0.1, row, c, &old);
            fv::computeRegimeCell(0.1, 1.0, row, c, &one);
            fv::computeRegimeCell(0.1, 0.5, row, c, &below);
            EXPECT_TRUE(sameCell(old.cells[row][c], one.cells[row][c])) << row << " " << c;
            EXPECT_TRUE(sameCell(old.cells[row][c], below.cells[row][c])) << row << " " << c;
        }
    }
    const fv::RegimeCell& cell = old.cells[12][0];
    EXPECT_EQ(cell.stopsPerCycle, 2);
    EXPECT_EQ(cell.amplitudeExact, 0x1.856ec2bc3f96ep-1);
    EXPECT_EQ(cell.amplitudeChart, 0x1.856ec2bcc0c96p-1);
    EXPECT_EQ(old.cells[12][21].amplitudeChart, 0x1.54d0ffb92f26cp+0);
}

TEST(RegimeMapStaticRatio, RestBeginsWhereTheStaticBandReachesTheForce) {
    EXPECT_EQ(fv::regimeRestRow(1.0), 50); // Yc/Yf = 1
    EXPECT_EQ(fv::regimeRestRow(0.5), 50);
    EXPECT_EQ(fv::regimeRestRow(2.0), 25); // Yc/Yf = 0.5, Ys/Yf = 1
    EXPECT_EQ(fv::regimeRestRow(2.5), 20);
    EXPECT_EQ(fv::regimeRestRow(0.0), 50);
    // At ratio 2, Yc/Yf = 0.5 never moves from rest; Yc/Yf = 0.48 (Ys/Yf = 0.96) does, as
    // does Yc/Yf = 0.5 at equal friction.
    static fv::RegimeMap map;
    const int c = column(1.0);
    fv::computeRegimeCell(0.2, 2.0, 25, c, &map);
    fv::computeRegimeCell(0.2, 2.0, 24, c, &map);
    EXPECT_TRUE(map.cells[25][c].atRest);
    EXPECT_FALSE(map.cells[24][c].atRest);
    fv::computeRegimeCell(0.2, 1.0, 25, c, &map);
    EXPECT_FALSE(map.cells[25][c].atRest);
    const fv::ClosedFormSystem sys = fv::regimeRowSystem(0.2, 2.0, 25);
    EXPECT_DOUBLE_EQ(sys.Yc, 0.5);
    EXPECT_DOUBLE_EQ(sys.Ys, 1.0);
    EXPECT_EQ(fv::regimeRowSystem(0.2, 1.0, 25).Ys, 0.0);
}
