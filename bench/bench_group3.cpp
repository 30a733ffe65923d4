// Benchmark of one group (3) pass: the curves of the entered damping ratio and of the
// family of ten, YZA and YZB, computed by the program and by the straightforward
// single-threaded reference, side by side, with the ratio per parameter set. Then the
// stick-slip sweep of the 11 curves alone, as one job over all cores and as two (the
// entered curve, then the family), and the cost of one residual evaluation in the
// scan, before and after.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "freqchar/curves.h"
#include "freqchar/reference_sweep.h"
#include "freqchar/stickslip.h"
#include "group3_pass.h"
#include "state/state.h"

namespace {

constexpr int repetitions = 5;
constexpr int scanResiduals = 294; // trial angles of one scan
constexpr int residualRatios = 1200;

using Clock = std::chrono::steady_clock;

struct ParameterSet {
    const char* name;
    double zeta, Yf, Yc, givenRatio;
};

template <typename Pass> double medianMs(fv::State& s, const ParameterSet& p, Pass pass) {
    double times[repetitions];
    for (double& t : times) {
        setUpGroup3(s, p.zeta, p.Yf, p.Yc, p.givenRatio);
        const auto start = Clock::now();
        pass(s);
        t = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    std::sort(times, times + repetitions);
    return times[repetitions / 2];
}

// Nanoseconds per residual of a scan without brackets (no friction, damped: the
// residual -g^2 never changes sign), over the whole ratio grid.
template <typename Scan> double nsPerResidual(Scan scan) {
    const fv::ClosedFormSystem sys = {0.1, 0.5, 0.0};
    const auto start = Clock::now();
    double sink = 0.0;
    for (int i = 1; i <= residualRatios; ++i) {
        sink += scan(sys, i * 0.0025);
    }
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    return sink == 12345.0 ? 0.0 : ns / (residualRatios * scanResiduals);
}

} // namespace

int main() {
    static fv::State s;
    const ParameterSet sets[] = {{"zeta=0    Yf=1   Yc=0.01", 0.0, 1.0, 0.01, 0.5},
                                 {"zeta=0.1  Yf=0.5 Yc=0.2", 0.1, 0.5, 0.2, 0.5},
                                 {"zeta=1    Yf=0.5 Yc=0.2", 1.0, 0.5, 0.2, 0.7},
                                 {"zeta=3    Yf=0.3 Yc=0.05", 3.0, 0.3, 0.05, 1.5}};
    std::printf("group (3) pass, median of %d runs\n", repetitions);
    std::printf("%-26s %14s %14s %8s\n", "parameters", "reference ms", "program ms", "ratio");
    for (const ParameterSet& p : sets) {
        const double reference = medianMs(s, p, ref::group3Pass);
        const double program = medianMs(s, p, group3Pass);
        std::printf("%-26s %14.1f %14.1f %7.1fx\n", p.name, reference, program,
                    reference / program);
    }
    std::printf("\nstick-slip sweep of the 11 curves (zeta not in the family)\n");
    std::printf("%-26s %14s %14s\n", "parameters", "two jobs ms", "one job ms");
    for (const ParameterSet& p : sets) {
        static fv::AmplitudeCurve curves[fv::familySize + 1];
        fv::ClosedFormSystem systems[fv::familySize + 1];
        for (int k = 0; k < fv::familySize; ++k) {
            systems[k] = {fv::zetaTable[k], p.Yf, p.Yc};
        }
        systems[fv::familySize] = {p.zeta + 0.01, p.Yf, p.Yc};
        const double two = medianMs(s, p, [&](fv::State&) {
            fv::sweepStickSlipCurves(0.0025, 1200, &systems[fv::familySize],
                                     &curves[fv::familySize], 1);
            fv::sweepStickSlipCurves(0.0025, 1200, systems, curves, fv::familySize);
        });
        const double one = medianMs(s, p, [&](fv::State&) {
            fv::sweepStickSlipCurves(0.0025, 1200, systems, curves, fv::familySize + 1);
        });
        std::printf("%-26s %14.1f %14.1f\n", p.name, two, one);
    }
    const double before = nsPerResidual(
        [](const fv::ClosedFormSystem& sys, double z) { return ref::stickSlipAmplitude(sys, z); });
    const double after = nsPerResidual([](const fv::ClosedFormSystem& sys, double z) {
        fv::StickSlipCandidate list[fv::maxStickSlipCandidates];
        return static_cast<double>(fv::stickSlipCandidates(z, sys, list));
    });
    std::printf("one residual in the scan: reference %.1f ns, program %.1f ns\n", before, after);
    return 0;
}
