// Benchmark of the exact reference: the 60 dots of the frequency chart (key 'e') for
// each class of system, on all cores as the window computes them and on one, and the
// cost of single steady states.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "exact/dots.h"

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
    return 0;
}
