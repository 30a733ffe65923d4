// The program's stick-slip search against the straightforward reference: every ratio
// and amplitude of every curve, YZA, YZB and continuousRange (from which the red
// point is chosen) must agree bit for bit, for chosen and for random parameter sets.
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "analysis/continuous.h"
#include "analysis/range.h"
#include "freqchar/curves.h"
#include "freqchar/reference_sweep.h"
#include "freqchar/stickslip.h"
#include "session/pass.h"
#include "state/state.h"
#include "support/dialogue_pass.h"

namespace {

fv::AmplitudeCurve programCurve;
fv::AmplitudeCurve referenceCurve;

// Index of the first point where the curves differ in any bit, or -1.
int firstDifference(const fv::AmplitudeCurve& a, const fv::AmplitudeCurve& b, int n) {
    for (int i = 0; i <= n; ++i) {
        if (std::memcmp(&a.ratio[i], &b.ratio[i], sizeof(double)) != 0 ||
            std::memcmp(&a.amplitude[i], &b.amplitude[i], sizeof(double)) != 0) {
            return i;
        }
    }
    return -1;
}

void expectSameSweep(double zeta, double Yf, double Yc, int n = 1200) {
    const fv::ClosedFormSystem sys = {zeta, Yf, Yc};
    fv::sweepStickSlipCurves(0.0025, n, &sys, &programCurve, 1);
    ref::sweepStickSlipAmplitude(sys, 0.0025, n, referenceCurve);
    const int i = firstDifference(programCurve, referenceCurve, n);
    EXPECT_EQ(i, -1) << "zeta " << zeta << " Yf " << Yf << " Yc " << Yc << ": point " << i
                     << " program " << programCurve.amplitude[i < 0 ? 0 : i] << " reference "
                     << referenceCurve.amplitude[i < 0 ? 0 : i];
}

TEST(SearchAgreement, ChosenParameterSetsAndTheFamily) {
    const double systems[][2] = {{0.5, 0.2}, {1.0, 0.01}, {0.3, 0.05}, {0.5, 0.0}, {0.0, 0.2}};
    for (const auto& s : systems) {
        for (double zeta : fv::zetaTable) {
            expectSameSweep(zeta, s[0], s[1]);
        }
        expectSameSweep(0.15, s[0], s[1]);
        expectSameSweep(3.0, s[0], s[1]);
    }
}

// Random systems over all three regimes; every fifth ratio of the grid keeps the run
// short while still covering it.
TEST(SearchAgreement, RandomParameterSets) {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int k = 0; k < 300; ++k) {
        const double u = unit(random);
        const double zeta = u < 0.1   ? 0.0
                            : u < 0.2 ? 1.0
                                      : std::pow(10.0, -3.0 + 4.0 * unit(random));
        const double Yf = std::pow(10.0, -3.0 + 4.0 * unit(random));
        const double Yc = std::pow(10.0, -4.0 + 4.0 * unit(random));
        const double z = 0.0025 * (1 + static_cast<int>(unit(random) * 1200));
        double t1 = 0.0, b1 = 0.0;
        const double program = fv::stickSlipAmplitude(z, {zeta, Yf, Yc}, &t1, &b1);
        const double reference = ref::stickSlipAmplitude({zeta, Yf, Yc}, z);
        EXPECT_EQ(std::memcmp(&program, &reference, sizeof(double)), 0)
            << "zeta " << zeta << " Yf " << Yf << " Yc " << Yc << " z " << z << ": " << program
            << " vs " << reference;
        if (k % 20 == 0) {
            expectSameSweep(zeta, Yf, Yc, 300);
        }
    }
}

// Everything a group (3) pass leaves behind, for both implementations.
struct PassResult {
    double YZA, YZB, givenPointAmplitude;
    fv::IndexRange range;
    fv::AmplitudeCurve curves[22];
};

void capture(const fv::State& s, PassResult& r) {
    r.YZA = s.derived.YZA;
    r.YZB = s.derived.YZB;
    r.range = s.chart.continuousRange;
    r.curves[0] = s.chart.continuousCurve;
    r.curves[1] = s.chart.stickSlipCurve;
    for (int k = 0; k < 10; ++k) {
        r.curves[2 + k] = s.chart.continuousCurves[k];
        r.curves[12 + k] = s.chart.stickSlipCurves[k];
    }
}

// The program's group (3) against the reference's, for systems whose inputs give their
// zeta, Yf, Yc and ratio exactly (m = K = 1).
TEST(SearchAgreement, WholeGroup3Pass) {
    static PassResult program;
    static PassResult reference;
    const double sets[][4] = {{0.0, 1.0, 0.01, 0.5}, {1.0, 0.5, 0.2, 0.7}, {3.0, 0.3, 0.05, 1.5}};
    for (const auto& set : sets) {
        const auto ownProgram = newState();
        const auto ownReference = newState();
        fv::State& p = *ownProgram;
        fv::State& r = *ownReference;
        p.input = {1.0, 2.0 * set[0], 1.0, set[1], set[3], set[2], 0.0, 0.0};
        r.input = p.input;
        fv::recomputeFrom(p, 1);
        fv::deriveSpringMassDamper(r);
        fv::deriveExternalForce(r);
        r.derived.Yc = r.input.Fric / r.input.K;
        r.derived.givenRatio = r.input.omf / r.derived.omega0;
        ref::group3Pass(r);
        ASSERT_EQ(p.derived.zeta, set[0]);
        ASSERT_EQ(p.derived.givenRatio, set[3]);
        capture(r, reference);
        capture(p, program);
        EXPECT_EQ(std::memcmp(&program.YZA, &reference.YZA, sizeof(double)), 0);
        const double rawYZB = p.derived.hasYZB ? program.YZB : -1.0;
        EXPECT_EQ(std::memcmp(&rawYZB, &reference.YZB, sizeof(double)), 0);
        EXPECT_EQ(program.range.low, reference.range.low);
        EXPECT_EQ(program.range.high, reference.range.high);
        for (int c = 0; c < 22; ++c) {
            EXPECT_EQ(firstDifference(program.curves[c], reference.curves[c], 1200), -1)
                << "curve " << c << " of set zeta " << set[0];
        }
    }
}

} // namespace
