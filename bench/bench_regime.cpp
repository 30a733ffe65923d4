// Benchmark of the regime map: 7,320 exact steady states and 61 chart rows per damping
// ratio, on all cores (wall and CPU time) and on one, and where the chart's closed-form amplitude
// and the exact amplitude disagree (beyond 1e-6 relative), by kind of disagreement.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "regime/map.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double agreement = 1e-6; // relative

// CPU time of the whole process so far [ms]: all threads together.
double cpuMs() {
    timespec t = {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return 1e3 * static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_nsec);
}

// Wall time of one map [ms], and its CPU time in *cpu.
double msFor(double zeta, fv::RegimeMap* map, unsigned threads, double* cpu) {
    const double cpuStart = cpuMs();
    const auto start = Clock::now();
    fv::computeRegimeMap(zeta, map, threads);
    *cpu = cpuMs() - cpuStart;
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Kinds of disagreement between the chart and the exact motion, with the extent of
// their cells in z and Yc/Yf.
struct Kind {
    const char* name;
    int cells = 0;
    double zMin = 9, zMax = 0, rMin = 9, rMax = 0;
    void add(double z, double r) {
        cells++;
        zMin = std::min(zMin, z);
        zMax = std::max(zMax, z);
        rMin = std::min(rMin, r);
        rMax = std::max(rMax, r);
    }
};

void disagreements(const fv::RegimeMap& map) {
    Kind kinds[] = {
        {"chart continuous, exact stops"},           {"chart continuous, exact at rest"},
        {"chart continuous, exact other amplitude"}, {"chart stick-slip, exact never stops"},
        {"chart stick-slip, exact at rest"},         {"chart stick-slip, exact stops 3+ times"},
        {"chart stick-slip, exact other amplitude"}};
    int compared = 0;
    for (int r = 0; r < fv::regimeRows; ++r) {
        for (int c = 0; c < fv::regimeColumns; ++c) {
            const fv::RegimeCell& cell = map.cells[r][c];
            if (std::isnan(cell.amplitudeChart) || !cell.converged) {
                continue;
            }
            compared++;
            const double a = cell.amplitudeExact;
            if (std::fabs(cell.amplitudeChart - a) <= agreement * std::fmax(std::fabs(a), 1e-300)) {
                continue;
            }
            int kind = 6;
            if (cell.chartContinuous) {
                kind = cell.atRest ? 1 : (cell.stopsPerCycle > 0 ? 0 : 2);
            } else if (cell.atRest) {
                kind = 4;
            } else if (cell.stopsPerCycle == 0) {
                kind = 3;
            } else if (cell.stopsPerCycle >= 3) {
                kind = 5;
            }
            kinds[kind].add(fv::regimeRatio(c), fv::regimeFrictionRatio(r));
        }
    }
    std::printf("  %d cells where the chart shows an amplitude and the motion settled\n", compared);
    for (const Kind& k : kinds) {
        if (k.cells > 0) {
            std::printf("  %-40s %5d cells, z %.3f-%.3f, Yc/Yf %.2f-%.2f\n", k.name, k.cells,
                        k.zMin, k.zMax, k.rMin, k.rMax);
        }
    }
}

} // namespace

int main() {
    static fv::RegimeMap map;
    std::printf("%-10s %12s %12s %12s %10s\n", "zeta", "all cores", "CPU", "one core", "unsettled");
    for (double zeta : {0.05, 0.5, 0.0, 1.0, 2.0, 10.0}) {
        double cpu = 0.0;
        const double one = msFor(zeta, &map, 1, &cpu);
        const double all = msFor(zeta, &map, 0, &cpu);
        int unsettled = 0;
        for (const auto& row : map.cells) {
            for (const fv::RegimeCell& cell : row) {
                unsettled += cell.converged ? 0 : 1;
            }
        }
        std::printf("%-10g %9.0f ms %9.0f ms %9.0f ms %10d\n", zeta, all, cpu, one, unsettled);
        disagreements(map);
    }
    return 0;
}
