// The regime map: for one damping ratio, over the frequency ratio z and the friction
// ratio Yc/Yf, which kind of steady motion happens (the exact motion from rest: no
// stops, two stops per cycle, more, at rest, or growth without bound) and which closed-form
// amplitude the frequency chart shows there. Amplitudes are in units of Yf. A map is
// computed for one ratio Fs/Fric of static to sliding friction (1 by default): rows stay
// Yc/Yf, and the static band of a row is that ratio times Yc.
#pragma once

#include "analysis/system.h"

namespace fv {

constexpr int regimeColumns = 120;     // z = 0.025, 0.05, ..., 3
constexpr int regimeRows = 61;         // Yc/Yf = 0, 0.02, ..., 1.2
constexpr int regimeGridStride = 10;   // chart grid points (0.0025 apart) per column
constexpr double regimeRowStep = 0.02; // friction ratio between rows [-]

struct RegimeCell {
    int stopsPerCycle;     // of the exact steady state
    double amplitudeExact; // exact steady amplitude [Yf]; not a number where undefined
    double amplitudeChart; // what the chart shows [Yf]; not a number where it shows none
    bool chartContinuous;  // the chart's amplitude is the continuous one
    bool converged;        // the exact motion settled
    bool atRest;           // the mass never moves
    bool grows;            // no steady state: the amplitude grows without bound
    double error;          // estimated distance to the steady state [Yf]; not a number where
                           // there is none (not converged)
};

// The map's view of a system: what its cells depend on besides their own z and Yc/Yf.
// Every layer above the kernel hands this on whole, never its values one by one.
struct RegimeSystem {
    double zeta;        // damping ratio [-]
    double staticRatio; // Fs/Fric [-]; at most 1 is equal friction
    RegimeSystem(double zeta_ = 0.0, double staticRatio_ = 1.0)
        : zeta(zeta_), staticRatio(staticRatio_) {}
};

// Bit for bit the same system, as a kept map needs.
bool sameRegimeSystem(const RegimeSystem& a, const RegimeSystem& b);

struct RegimeMap {
    double zeta; // damping ratio of the map
    RegimeCell cells[regimeRows][regimeColumns];
    double staticRatio = 1.0; // Fs/Fric of the map [-]; at most 1 is equal friction
};

// Frequency ratio of column c: the chart's grid point (c + 1) * 10, that is
// ((c + 1) * 10) * 0.0025.
double regimeRatio(int column);

// Friction ratio Yc/Yf of row r: r * 0.02.
double regimeFrictionRatio(int row);

// The system of row r for the closed forms: (zeta, Yf = 1, Yc = Yc/Yf, Ys = staticRatio
// times Yc); a ratio of at most 1 leaves Ys at 0, the equal friction of old.
ClosedFormSystem regimeRowSystem(double zeta, double staticRatio, int row);

// The first row from which a mass starting from rest at x = 0 never moves: the static
// band reaches the force, Ys/Yf = staticRatio * Yc/Yf >= 1 (Yc/Yf >= 1 at a ratio of at
// most 1); regimeRows when no row does.
int regimeRestRow(double staticRatio);

// Computes the map of zeta for static ratio Fs/Fric on threads threads (0: one per
// core); the result does not depend on their number. Without a ratio: 1.
void computeRegimeMap(double zeta, double staticRatio, RegimeMap* map, unsigned threads = 0);
void computeRegimeMap(double zeta, RegimeMap* map, unsigned threads = 0);

// The parts of the map, each on its own and in any order, for work that shows its
// progress: the chart's amplitudes of one row (amplitudeChart, chartContinuous), and
// the exact steady state of one cell (the other fields). zeta and staticRatio as the
// map's; without a ratio: 1.
void computeRegimeChartRow(double zeta, double staticRatio, int row, RegimeMap* map);
void computeRegimeCell(double zeta, double staticRatio, int row, int column, RegimeMap* map);
void computeRegimeChartRow(double zeta, int row, RegimeMap* map);
void computeRegimeCell(double zeta, int row, int column, RegimeMap* map);

// The system a map was computed for, and the same computations as above for a system.
RegimeSystem regimeSystemOf(const RegimeMap& map);
void computeRegimeMap(const RegimeSystem& sys, RegimeMap* map, unsigned threads = 0);
void computeRegimeChartRow(const RegimeSystem& sys, int row, RegimeMap* map);
void computeRegimeCell(const RegimeSystem& sys, int row, int column, RegimeMap* map);

// Whether a cell's motion stops: it has stops, or it never moves.
bool regimeStops(const RegimeCell& cell);

// Whether any cell of the map grows without bound.
bool regimeHasGrowth(const RegimeMap& map);

// The boundary of motion without stops in column c: the first row, from Yc/Yf = 0
// upwards, whose motion stops; regimeRows when none does.
int regimeBoundaryRow(const RegimeMap& map, int column);

} // namespace fv
