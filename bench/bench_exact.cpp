// Benchmark of the exact reference: the 60 dots of the frequency chart (key 'e') for
// each class of system, on all cores as the window computes them and on one, the cost
// of single steady states, and of the work of a cycle of a settled one.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "exact/dots.h"
#include "exact/energy.h"

namespace {

constexpr int repetitions = 5;

using Clock = std::chrono::steady_clock;

struct Case {
    const char* name;
    fv::ClosedFormSystem system;
};

template <typename Work> double medianMs(Work work) {
    double times[repetitions];
    for (double& t : times) {
        const auto start = Clock::now();
        work();
        t = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    std::sort(times, times + repetitions);
    return times[repetitions / 2];
}

} // namespace

int main() {
    const Case cases[] = {
        {"zeta 0, Yc/Yf 0.01", {0.0, 1.0, 0.01}},     {"zeta 0, Yc/Yf 0.3", {0.0, 1.0, 0.3}},
        {"zeta 0.05, Yc/Yf 0.05", {0.05, 1.0, 0.05}}, {"zeta 0.1, Yc/Yf 0.4", {0.1, 0.5, 0.2}},
        {"zeta 1, Yc/Yf 0.2", {1.0, 1.0, 0.2}},       {"zeta 3, Yc/Yf 0.5", {3.0, 1.0, 0.5}},
        {"zeta 0, no friction", {0.0, 1.0, 0.0}}};
    static fv::ExactDots dots;
    std::printf("%-24s %12s %12s %10s %10s\n", "system", "all cores", "one core", "periods",
                "unsettled");
    for (const Case& c : cases) {
        const double all = medianMs([&] { fv::computeExactDots(c.system, &dots); });
        long periods = 0;
        int unsettled = 0;
        for (const fv::ExactSteady& s : dots.steady) {
            periods += s.periods;
            unsettled += s.converged ? 0 : 1;
        }
        const double one = medianMs([&] {
            for (int k = 0; k < fv::exactDotCount; ++k) {
                dots.steady[k] = fv::exactSteadyState(
                    {c.system.zeta, fv::exactDotRatio(k), c.system.Yf, c.system.Yc});
            }
        });
        std::printf("%-24s %9.1f ms %9.1f ms %10ld %10d\n", c.name, all, one, periods, unsettled);
    }
    std::printf("\n%-24s %12s %12s\n", "work of a cycle", "per system", "settled");
    for (const Case& c : cases) {
        static fv::ExactSteadyOrbit orbits[fv::exactDotCount];
        int settled = 0;
        for (int k = 0; k < fv::exactDotCount; ++k) {
            orbits[k] = fv::exactSteadyOrbit(
                {c.system.zeta, fv::exactDotRatio(k), c.system.Yf, c.system.Yc});
            settled += orbits[k].steady.converged && !orbits[k].steady.atRest ? 1 : 0;
        }
        volatile double sink = 0.0; // the works are used: the loop is not optimised away
        const double ms = medianMs([&] {
            for (const fv::ExactSteadyOrbit& orbit : orbits) {
                sink = sink + fv::exactCycleWork(orbit).input;
            }
        });
        std::printf("%-24s %9.1f us %12d\n", c.name, 1000.0 * ms / fv::exactDotCount, settled);
    }
    return 0;
}
