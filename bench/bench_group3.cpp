// Benchmark of one group (3) pass: the curves of the entered damping ratio and of the
// family of ten, YZA and YZB, for several parameter sets. Prints the median time.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "analysis/continuous.h"
#include "analysis/range.h"
#include "control/params.h"
#include "freqchar/curves.h"
#include "freqchar/stickslip.h"

namespace {

constexpr int repetitions = 5;

struct ParameterSet {
    const char* name;
    double zeta, Yf, Yc, givenRatio;
};

// What group (3) computes after the friction force has been read.
void group3Pass() {
    fv::ratioStep = 0.0025;
    fv::sweepCount = 1200;
    fv::sweepContinuousAmplitude(fv::ratioStep, fv::sweepCount, fv::continuousCurve);
    fv::continuousAmplitude(fv::givenRatio, &fv::YZA);
    fv::sweepStickSlipAmplitude(fv::ratioStep, fv::sweepCount, fv::stickSlipCurve);
    fv::trimContinuousCurve(fv::continuousCurve, fv::stickSlipCurve, fv::sweepCount,
                            &fv::continuousRange);
    double theta = 0.0;
    double beta = 0.0;
    fv::YZB = fv::stickSlipAmplitude(fv::givenRatio, &theta, &beta);
    const double entered = fv::zeta;
    for (int k = 0; k < fv::familySize; ++k) {
        fv::zeta = fv::zetaTable[k];
        fv::sweepContinuousAmplitude(fv::ratioStep, fv::sweepCount, fv::continuousCurves[k]);
        fv::sweepStickSlipAmplitude(fv::ratioStep, fv::sweepCount, fv::stickSlipCurves[k]);
        fv::trimContinuousCurve(fv::continuousCurves[k], fv::stickSlipCurves[k], fv::sweepCount,
                                &fv::continuousRange);
    }
    fv::zeta = entered;
}

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
