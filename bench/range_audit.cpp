// Audit of the continuous-range rule against the exact motion. Over a grid of damping
// ratio, friction ratio Yc/Yf and frequency ratio z, the chart's continuous curve is
// trimmed by the rule as first written (the first stick-slip run above the low-ratio
// run starts the upper region) and by the program's rule (the run that reaches the
// end of the grid), and each point is judged by the exact steady state from rest:
//   kept wrongly:   the chart shows continuous motion where the exact motion stops;
//   erased wrongly: the chart erases continuous motion where it never stops.
// Points whose exact motion does not converge are counted apart.
//
//   range_audit [every]   judge every [4]th grid point (0.01 in z)
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "analysis/continuous.h"
#include "analysis/range.h"
#include "common/parallel.h"
#include "exact/steady.h"
#include "freqchar/curves.h"

namespace {

constexpr double step = 0.0025;
constexpr int n = 1200;
constexpr double zetas[] = {0, 0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1, 2};
constexpr double ratios[] = {0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 0.3,
                             0.5,   0.6,  0.7,  0.8,  0.9, 1,   1.5};
constexpr int zetaCount = sizeof zetas / sizeof zetas[0];
constexpr int ratioCount = sizeof ratios / sizeof ratios[0];

int firstPositive(const fv::AmplitudeCurve& s, int from) {
    for (int i = from; i <= n; ++i) {
        if (s.amplitude[i] > 0.0) {
            return i;
        }
    }
    return n;
}

// The range rule as first written: the first stick-slip point above the low-ratio run
// starts the upper region, wherever its run ends.
void firstWrittenTrim(fv::AmplitudeCurve& c, const fv::AmplitudeCurve& s, fv::IndexRange* r) {
    const int first = firstPositive(s, 0);
    if (first == n) {
        *r = {0, n};
        return;
    }
    int stop = first;
    while (stop <= n && !(s.amplitude[stop] < 0.0)) {
        ++stop;
    }
    const int low = stop <= n ? stop - 1 : n - 1;
    for (int i = 0; i < low - 1; ++i) {
        c.amplitude[i] = -1.0;
    }
    const int second = low == n - 1 ? n : firstPositive(s, low + 1);
    *r = {low, n};
    if (second == n) {
        return;
    }
    for (int i = second + 1; i <= n; ++i) {
        c.amplitude[i] = -1.0;
    }
    *r = {low, second};
}

struct Counts {
    long judged = 0, notConverged = 0;
    long keptWrongly[2] = {0, 0}; // first-written rule, program's rule
    long erasedWrongly[2] = {0, 0};
    int misfiringCurves = 0;
};

bool shown(double c) {
    return c >= 0.0;
}

} // namespace

int main(int argc, char** argv) {
    const int every = argc > 1 ? std::max(1, std::atoi(argv[1])) : 4;
    std::vector<Counts> perCurve(zetaCount * ratioCount);
    fv::parallelFor(zetaCount * ratioCount, [&](long k) {
        const fv::ClosedFormSystem sys = {zetas[k / ratioCount], 1.0, ratios[k % ratioCount]};
        static thread_local fv::AmplitudeCurve continuous, stickSlip, before, after;
        fv::sweepContinuousAmplitude(step, n, sys, continuous);
        fv::sweepStickSlipHere(step, n, sys, stickSlip);
        before = continuous;
        after = continuous;
        fv::IndexRange rb = {}, ra = {};
        firstWrittenTrim(before, stickSlip, &rb);
        fv::trimContinuousCurve(after, stickSlip, n, &ra);
        Counts& c = perCurve[static_cast<std::size_t>(k)];
        c.misfiringCurves = rb.high != ra.high ? 1 : 0;
        for (int i = every; i <= n; i += every) {
            const fv::ExactSteady e = fv::exactSteadyState({sys.zeta, i * step, sys.Yf, sys.Yc});
            if (!e.converged) {
                c.notConverged++;
                continue;
            }
            c.judged++;
            const bool stops = e.stopsPerCycle > 0 || e.atRest;
            const fv::AmplitudeCurve* trimmed[2] = {&before, &after};
            for (int rule = 0; rule < 2; ++rule) {
                const bool kept = shown(trimmed[rule]->amplitude[i]);
                c.keptWrongly[rule] += kept && stops ? 1 : 0;
                c.erasedWrongly[rule] += shown(continuous.amplitude[i]) && !kept && !stops ? 1 : 0;
            }
        }
    });
    Counts total;
    for (int k = 0; k < zetaCount * ratioCount; ++k) {
        const Counts& c = perCurve[static_cast<std::size_t>(k)];
        total.judged += c.judged;
        total.notConverged += c.notConverged;
        total.misfiringCurves += c.misfiringCurves;
        for (int rule = 0; rule < 2; ++rule) {
            total.keptWrongly[rule] += c.keptWrongly[rule];
            total.erasedWrongly[rule] += c.erasedWrongly[rule];
        }
        if (c.misfiringCurves != 0 || c.keptWrongly[0] != c.keptWrongly[1] ||
            c.erasedWrongly[0] != c.erasedWrongly[1]) {
            std::printf(
                "zeta %-5g Yc/Yf %-5g: kept wrongly %ld -> %ld, erased wrongly %ld -> %ld\n",
                zetas[k / ratioCount], ratios[k % ratioCount], c.keptWrongly[0], c.keptWrongly[1],
                c.erasedWrongly[0], c.erasedWrongly[1]);
        }
    }
    std::printf("%d curves (%d with another upper region), %ld points judged, %ld not converged\n",
                zetaCount * ratioCount, total.misfiringCurves, total.judged, total.notConverged);
    std::printf("kept wrongly:   %ld as first written, %ld now\n", total.keptWrongly[0],
                total.keptWrongly[1]);
    std::printf("erased wrongly: %ld as first written, %ld now\n", total.erasedWrongly[0],
                total.erasedWrongly[1]);
    return 0;
}
