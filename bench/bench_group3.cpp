// Benchmark of one group (3) pass: the curves of the entered damping ratio and of the
// family of ten, YZA and YZB, for several parameter sets. Prints the median time.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "control/params.h"
#include "group3_pass.h"

namespace {

constexpr int repetitions = 5;

struct ParameterSet {
    const char* name;
    double zeta, Yf, Yc, givenRatio;
};

double medianMs(const ParameterSet& p) {
    double times[repetitions];
    for (double& t : times) {
        fv::zeta = p.zeta;
        fv::Yf = p.Yf;
        fv::Yc = p.Yc;
        fv::givenRatio = p.givenRatio;
        const auto start = std::chrono::steady_clock::now();
        group3Pass();
        const auto end = std::chrono::steady_clock::now();
        t = std::chrono::duration<double, std::milli>(end - start).count();
    }
    std::sort(times, times + repetitions);
    return times[repetitions / 2];
}

} // namespace

int main() {
    const ParameterSet sets[] = {{"underdamped zeta=0.1 Yf=0.5 Yc=0.2", 0.1, 0.5, 0.2, 0.5},
                                 {"undamped zeta=0 Yf=1 Yc=0.01", 0.0, 1.0, 0.01, 0.5},
                                 {"critical zeta=1 Yf=0.5 Yc=0.2", 1.0, 0.5, 0.2, 0.5},
                                 {"overdamped zeta=3 Yf=0.3 Yc=0.05", 3.0, 0.3, 0.05, 1.5}};
    std::printf("group (3) pass, median of %d runs\n", repetitions);
    for (const ParameterSet& p : sets) {
        std::printf("%-40s %9.1f ms\n", p.name, medianMs(p));
    }
    return 0;
}
