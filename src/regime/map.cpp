// The regime map. Each row is a system of its own for the chart (zeta, Yf = 1,
// Yc = Yc/Yf, Ys = the static ratio times Yc): its continuous and stick-slip curves are
// swept and trimmed as the dialogue does, the continuous one first cleared where a static
// band above Yc holds the mass at its turning points, and a column's closed-form amplitude is the
// one the range rules pick at its ratio, as for the red point: continuous inside the continuous
// range, stick-slip outside. Each cell's exact steady state is computed on its own. Rows and cells
// are handed out to all cores one by one.
#include "regime/map.h"

#include <cmath>
#include <memory>

#include "analysis/continuous.h"
#include "analysis/range.h"
#include "common/parallel.h"
#include "exact/steady.h"
#include "freqchar/curves.h"

namespace fv {

ClosedFormSystem regimeRowSystem(double zeta, double staticRatio, int row) {
    const double Yc = regimeFrictionRatio(row);
    ClosedFormSystem sys = {zeta, 1.0, Yc};
    if (staticRatio > 1.0) {
        sys.Ys = staticRatio * Yc;
    }
    return sys;
}

int regimeRestRow(double staticRatio) {
    const double ratio = staticRatio > 1.0 ? staticRatio : 1.0;
    for (int row = 0; row < regimeRows; ++row) {
        if (ratio * regimeFrictionRatio(row) >= 1.0) {
            return row;
        }
    }
    return regimeRows;
}

void computeRegimeChartRow(double zeta, double staticRatio, int row, RegimeMap* map) {
    // Two curves of 32 KB each: on the heap, as threads may have small stacks.
    const std::unique_ptr<AmplitudeCurve[]> curves(new AmplitudeCurve[2]);
    AmplitudeCurve& continuous = curves[0];
    AmplitudeCurve& stickSlip = curves[1];
    const ClosedFormSystem sys = regimeRowSystem(zeta, staticRatio, row);
    sweepContinuousAmplitude(gridRatioStep, gridSweepCount, sys, continuous);
    dropHeldTurningPoints(gridSweepCount, sys, continuous);
    sweepStickSlipHere(gridRatioStep, gridSweepCount, sys, stickSlip);
    IndexRange range = {};
    trimContinuousCurve(continuous, stickSlip, gridSweepCount, &range);
    const double lo = stickSlip.ratio[range.low];
    const double hi = stickSlip.ratio[range.high];
    for (int c = 0; c < regimeColumns; ++c) {
        const int i = (c + 1) * regimeGridStride;
        const double z = stickSlip.ratio[i];
        const bool inside = !(z < lo || z > hi);
        const double a = inside ? continuous.amplitude[i] : stickSlip.amplitude[i];
        const bool shown = inside ? (a >= 0.0 && std::isfinite(a)) : a > 0.0;
        map->cells[row][c].amplitudeChart = shown ? a : std::nan("");
        map->cells[row][c].chartContinuous = inside;
    }
}

void computeRegimeChartRow(double zeta, int row, RegimeMap* map) {
    computeRegimeChartRow(zeta, 1.0, row, map);
}

void computeRegimeCell(double zeta, double staticRatio, int row, int column, RegimeMap* map) {
    const ClosedFormSystem sys = regimeRowSystem(zeta, staticRatio, row);
    const ExactSteady s = exactSteadyState({zeta, regimeRatio(column), 1.0, sys.Yc, sys.Ys});
    RegimeCell& cell = map->cells[row][column];
    cell.stopsPerCycle = s.stopsPerCycle;
    cell.amplitudeExact = s.amplitude;
    cell.converged = s.converged;
    cell.atRest = s.atRest;
    cell.grows = s.grows;
    cell.error = s.error;
}

double regimeRatio(int column) {
    return static_cast<double>((column + 1) * regimeGridStride) * gridRatioStep;
}

double regimeFrictionRatio(int row) {
    return static_cast<double>(row) * regimeRowStep;
}

void computeRegimeCell(double zeta, int row, int column, RegimeMap* map) {
    computeRegimeCell(zeta, 1.0, row, column, map);
}

void computeRegimeMap(double zeta, double staticRatio, RegimeMap* map, unsigned threads) {
    map->zeta = zeta;
    map->staticRatio = staticRatio;
    parallelFor(
        regimeRows,
        [&](long row) { computeRegimeChartRow(zeta, staticRatio, static_cast<int>(row), map); },
        threads);
    parallelFor(
        static_cast<long>(regimeRows) * regimeColumns,
        [&](long k) {
            computeRegimeCell(zeta, staticRatio, static_cast<int>(k / regimeColumns),
                              static_cast<int>(k % regimeColumns), map);
        },
        threads);
}

void computeRegimeMap(double zeta, RegimeMap* map, unsigned threads) {
    computeRegimeMap(zeta, 1.0, map, threads);
}

bool regimeStops(const RegimeCell& cell) {
    return cell.stopsPerCycle > 0 || cell.atRest;
}

bool regimeHasGrowth(const RegimeMap& map) {
    for (const auto& row : map.cells) {
        for (const RegimeCell& cell : row) {
            if (cell.grows) {
                return true;
            }
        }
    }
    return false;
}

int regimeBoundaryRow(const RegimeMap& map, int column) {
    for (int row = 0; row < regimeRows; ++row) {
        if (regimeStops(map.cells[row][column])) {
            return row;
        }
    }
    return regimeRows;
}

bool sameRegimeSystem(const RegimeSystem& a, const RegimeSystem& b) {
    return sameBits(a.zeta, b.zeta) && sameBits(a.staticRatio, b.staticRatio);
}

RegimeSystem regimeSystemOf(const RegimeMap& map) {
    return {map.zeta, map.staticRatio};
}

void computeRegimeMap(const RegimeSystem& sys, RegimeMap* map, unsigned threads) {
    computeRegimeMap(sys.zeta, sys.staticRatio, map, threads);
}

void computeRegimeChartRow(const RegimeSystem& sys, int row, RegimeMap* map) {
    computeRegimeChartRow(sys.zeta, sys.staticRatio, row, map);
}

void computeRegimeCell(const RegimeSystem& sys, int row, int column, RegimeMap* map) {
    computeRegimeCell(sys.zeta, sys.staticRatio, row, column, map);
}

} // namespace fv
