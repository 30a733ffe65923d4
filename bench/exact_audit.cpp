// Audit of the exact steady state against the plain fixed-step integration of the same
// motion, over random systems with Yf = 1 (reproducible: a fixed seed). Two known hard
// systems come first: a breakaway window of a few hundredths of the phase (Yc/Yf near
// 1) and a four-stop motion at a low ratio. For every system both methods start from
// rest; where both settle, their stops per cycle, their rest and their amplitudes are
// compared, and the systems on which they differ are listed with both results. A second
// set lies near resonance with little or no damping (zeta in [0, 1e-3], |z - 1| below
// 1e-3, Yc/Yf in [0, 1.2]), where the forced response dwarfs the force and friction
// alone damps the motion; undamped at z = 1 below Yc/Yf = pi/4 the exact motion must
// report growth without bound. A third set has static friction above sliding friction,
// Fs/Fric in [1, 3]: a third of it masses that never break away from rest (Ys/Yf >= 1)
// although Yc/Yf < 1, which are also started moving to see that a moving one keeps
// moving where the continuous solution's turning points hold under Ys. An audit, not a
// test: the exit status is 0 whatever it finds.
//
//   exact_audit [systems [near [static]]]   random systems after the fixed ones [600],
//                                           near resonance after its fixed ones [100],
//                                           with static friction [600]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "analysis/continuous.h"
#include "common/parallel.h"
#include "exact/plain_motion.h"
#include "exact/steady.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint64_t seed = 0x5eedf00dULL;
constexpr double zetaLow = 0.02;
constexpr double zetaHigh = 3.0;
constexpr double zetaFamily[] = {0.05, 0.1, 0.5, 1.0, 2.0};
constexpr int familyCount = sizeof zetaFamily / sizeof zetaFamily[0];
// Beyond this relative amplitude difference a system is listed (the plain method's
// 20000 steps per period hold the amplitude to about 1e-9).
constexpr double listedDifference = 1e-6;
constexpr double pi = 3.141592653589793;
constexpr int maxListed = 30;
constexpr double bands[] = {1e-9, 1e-7, 1e-5, 1e-3};
constexpr int bandCount = sizeof bands / sizeof bands[0];

struct System {
    double zeta, z, ratio;    // ratio = Yc/Yf, Yf = 1
    double staticRatio = 1.0; // Fs/Fric: Ys = staticRatio * Yc
};

double staticBandOf(const System& s) {
    return s.staticRatio * s.ratio;
}

struct Outcome {
    fv::ExactSteady exact;
    plain::PlainSteady plain;
    double exactMs, plainMs;
};

// Uniform in [0, 1) from the top 53 bits: the same numbers on every library.
double unit(std::mt19937_64& rng) {
    return static_cast<double>(rng() >> 11) * 0x1.0p-53;
}

// Uniform in (0, 1): never an end.
double openUnit(std::mt19937_64& rng) {
    return (static_cast<double>(rng() >> 11) + 0.5) * 0x1.0p-53;
}

double logUniform(std::mt19937_64& rng, double lo, double hi) {
    return std::exp(std::log(lo) + unit(rng) * (std::log(hi) - std::log(lo)));
}

// Damping: one in five from the family of round values, the rest log-uniform in
// [0.02, 3]. Ratio z: half uniform in [0.05, 3], a quarter uniform in [0.05, 0.3] (many
// free cycles per period), a quarter log-uniform in [0.05, 3]. Yc/Yf: a third uniform
// in (0.99, 1) (breakaway windows of a few hundredths of the phase), the rest uniform
// in [0, 1.05] (some at rest for good).
std::vector<System> drawSystems(long count) {
    std::vector<System> systems = {{0.5, 0.84, 0.998}, {0.05, 0.075, 0.24}};
    std::mt19937_64 rng(seed);
    for (long i = 0; i < count; ++i) {
        System s;
        s.zeta =
            rng() % 5 == 0 ? zetaFamily[rng() % familyCount] : logUniform(rng, zetaLow, zetaHigh);
        switch (i % 4) {
        case 0:
        case 1:
            s.z = 0.05 + unit(rng) * (3.0 - 0.05);
            break;
        case 2:
            s.z = 0.05 + unit(rng) * (0.3 - 0.05);
            break;
        default:
            s.z = logUniform(rng, 0.05, 3.0);
            break;
        }
        s.ratio = i % 3 == 0 ? 0.99 + 0.01 * openUnit(rng) : unit(rng) * 1.05;
        systems.push_back(s);
    }
    return systems;
}

// Near resonance: the examples a review found wrong first (a 2-stop motion taken for
// none, growth taken for a steady state, slow undamped motions), then zeta a quarter
// exactly 0, a quarter uniform in [0, 1e-3], half log-uniform in [1e-8, 1e-3]; z one in
// eight exactly 1, the rest uniform in 1 +- 1e-3; Yc/Yf uniform in [0, 1.2].
std::vector<System> drawNearResonance(long count) {
    std::vector<System> systems = {{1e-5, 1.0, 0.8}, {0.0, 0.99999, 0.8}, {0.0, 1.00001, 0.9},
                                   {0.0, 1.0, 0.5},  {0.0, 0.99997, 0.5}, {0.0, 1.001, 0.78},
                                   {0.0, 1.0, 0.9}};
    std::mt19937_64 rng(seed + 1);
    for (long i = 0; i < count; ++i) {
        System s;
        switch (i % 4) {
        case 0:
            s.zeta = 0.0;
            break;
        case 1:
            s.zeta = 1e-3 * unit(rng);
            break;
        default:
            s.zeta = logUniform(rng, 1e-8, 1e-3);
            break;
        }
        s.z = i % 8 == 5 ? 1.0 : 1.0 + 1e-3 * (2.0 * openUnit(rng) - 1.0);
        s.ratio = 1.2 * unit(rng);
        systems.push_back(s);
    }
    return systems;
}

double relativeDifference(double a, double b) {
    if (a == b) {
        return 0.0;
    }
    const double d = std::fabs(a - b) / std::fmax(std::fabs(a), std::fabs(b));
    return std::isnan(d) ? INFINITY : d;
}

void printBoth(const System& s, const Outcome& o) {
    const double d = relativeDifference(o.exact.amplitude, o.plain.amplitude);
    std::printf(
        "  zeta %-9.6g z %-11.9g Yc/Yf %-10.8g Fs/Fric %-8.6g| exact %-14.9g %d stops%s%s %5ld per"
        " | plain %-14.9g %d stops%s%s %5ld per | diff %.2e\n",
        s.zeta, s.z, s.ratio, s.staticRatio, o.exact.amplitude, o.exact.stopsPerCycle,
        o.exact.atRest ? " rest" : "",
        o.exact.grows ? " (grows)" : (o.exact.converged ? "" : " (unsettled)"), o.exact.periods,
        o.plain.amplitude, o.plain.stopsPerCycle, o.plain.atRest ? " rest" : "",
        o.plain.settled ? "" : " (unsettled)", o.plain.periods, d);
}

// Both methods on every system, on all cores; the run's wall time in *seconds.
std::vector<Outcome> runBoth(const std::vector<System>& systems, double* seconds) {
    const long n = static_cast<long>(systems.size());
    std::vector<Outcome> outcomes(systems.size());
    const auto start = Clock::now();
    fv::parallelFor(n, [&](long k) {
        const System& s = systems[static_cast<std::size_t>(k)];
        Outcome& o = outcomes[static_cast<std::size_t>(k)];
        const auto t0 = Clock::now();
        o.exact = fv::exactSteadyState({s.zeta, s.z, 1.0, s.ratio, staticBandOf(s)});
        const auto t1 = Clock::now();
        o.plain = plain::plainSteadyStateStatic(s.zeta, s.z, 1.0, s.ratio, staticBandOf(s));
        const auto t2 = Clock::now();
        o.exactMs = std::chrono::duration<double, std::milli>(t1 - t0).count();
        o.plainMs = std::chrono::duration<double, std::milli>(t2 - t1).count();
    });
    *seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return outcomes;
}

void listSome(const char* title, const std::vector<long>& which, const std::vector<System>& systems,
              const std::vector<Outcome>& outcomes) {
    std::printf("\n%s: %zu%s\n", title, which.size(),
                which.size() > maxListed ? ", the first 30:" : "");
    for (std::size_t i = 0; i < which.size() && i < maxListed; ++i) {
        const std::size_t k = static_cast<std::size_t>(which[i]);
        printBoth(systems[k], outcomes[k]);
    }
}

// Where both settled: how well they agree; the rest listed.
void compare(const std::vector<System>& systems, const std::vector<Outcome>& outcomes, long fixed,
             double seconds) {
    const long n = static_cast<long>(systems.size());
    long exactSettled = 0, plainSettled = 0, both = 0, sameStops = 0, sameRest = 0;
    long within[bandCount] = {};
    double largest = 0.0, exactMs = 0.0, plainMs = 0.0;
    std::vector<long> listed, unsettled;
    for (long k = 0; k < n; ++k) {
        const Outcome& o = outcomes[static_cast<std::size_t>(k)];
        exactMs += o.exactMs;
        plainMs += o.plainMs;
        exactSettled += o.exact.converged ? 1 : 0;
        plainSettled += o.plain.settled ? 1 : 0;
        if (!o.exact.converged || !o.plain.settled) {
            unsettled.push_back(k);
            continue;
        }
        both++;
        const bool stopsAgree = o.exact.stopsPerCycle == o.plain.stopsPerCycle;
        const bool restAgrees = o.exact.atRest == o.plain.atRest;
        sameStops += stopsAgree ? 1 : 0;
        sameRest += restAgrees ? 1 : 0;
        const double d = relativeDifference(o.exact.amplitude, o.plain.amplitude);
        largest = std::fmax(largest, d);
        for (int b = 0; b < bandCount; ++b) {
            within[b] += d <= bands[b] ? 1 : 0;
        }
        if (!stopsAgree || !restAgrees || !(d <= listedDifference)) {
            listed.push_back(k);
        }
    }
    std::printf("\n%ld systems (%ld fixed, %ld random, seed %#llx): exact settled %ld, plain "
                "settled %ld, both %ld\n",
                n, fixed, n - fixed, static_cast<unsigned long long>(seed), exactSettled,
                plainSettled, both);
    std::printf("of those both settled: stops per cycle agree %ld, at rest agree %ld\n", sameStops,
                sameRest);
    std::printf("relative amplitude difference: max %.3e; within", largest);
    for (int b = 0; b < bandCount; ++b) {
        std::printf(" %g: %ld%s", bands[b], within[b], b + 1 < bandCount ? "," : "\n");
    }
    char title[96];
    std::snprintf(title, sizeof title, "disagreeing (stops, rest, or amplitude beyond %g)",
                  listedDifference);
    listSome(title, listed, systems, outcomes);
    listSome("not settled by one or both", unsettled, systems, outcomes);
    std::printf("\nrun time %.1f s on %u threads; per system: exact %.1f ms, plain %.1f ms\n",
                seconds, fv::workerThreads(n), n > 0 ? exactMs / n : 0.0,
                n > 0 ? plainMs / n : 0.0);
}

// Results no motion can have near resonance: a mass that never moves although the force
// exceeds the friction force (Yc/Yf < 1), a steady state where none exists (zeta = 0,
// z = 1, Yc/Yf < pi/4) or growth reported elsewhere, and an amplitude that is not a
// number where a steady state was claimed.
void checkPossible(const std::vector<System>& systems, const std::vector<Outcome>& outcomes) {
    std::vector<long> impossible;
    long grows = 0;
    for (std::size_t k = 0; k < systems.size(); ++k) {
        const System& s = systems[k];
        const fv::ExactSteady& e = outcomes[k].exact;
        const bool noSteady = s.zeta == 0.0 && s.z == 1.0 && 4.0 * s.ratio < pi;
        grows += e.grows ? 1 : 0;
        const bool stillMoving = s.ratio < 1.0 && e.converged && e.stuckFraction >= 1.0;
        if (stillMoving || e.grows != noSteady || (e.converged && !std::isfinite(e.amplitude))) {
            impossible.push_back(static_cast<long>(k));
        }
    }
    std::printf("\ngrowing without bound: %ld (zeta = 0, z = 1, Yc/Yf < pi/4)\n", grows);
    listSome("physically impossible results", impossible, systems, outcomes);
}

// Static friction above sliding friction: damping and ratio z as the first set; Fs/Fric
// uniform in [1, 3]. A third never breaks away from rest although Yc/Yf < 1: Yc/Yf
// uniform in [0.34, 0.7] and Fs/Fric uniform in [Yf/Yc, 3]; the rest Yc/Yf uniform in
// [0, 1.05]. A fixed system first: one that never breaks away while a moving one keeps
// moving.
std::vector<System> drawStatic(long count) {
    std::vector<System> systems = {{0.1, 1.0, 0.5, 2.4}};
    std::mt19937_64 rng(seed + 2);
    for (long i = 0; i < count; ++i) {
        System s;
        s.zeta =
            rng() % 5 == 0 ? zetaFamily[rng() % familyCount] : logUniform(rng, zetaLow, zetaHigh);
        s.z = i % 2 == 0 ? 0.05 + unit(rng) * (3.0 - 0.05) : logUniform(rng, 0.05, 3.0);
        if (i % 3 == 0) {
            s.ratio = 0.34 + unit(rng) * (0.7 - 0.34);
            const double least = 1.0 / s.ratio;
            s.staticRatio = std::fmax(least, least + unit(rng) * (3.0 - least));
        } else {
            s.ratio = unit(rng) * 1.05;
            s.staticRatio = 1.0 + 2.0 * unit(rng);
        }
        systems.push_back(s);
    }
    return systems;
}

// With static friction: a mass from rest at x = 0 is at rest for good exactly where
// Ys >= Yf. Where it is, the exact motion is also started moving (x = 0, x' = twice the
// force's forced response amplitude times z, or 2): it must keep moving without stops
// where the continuous solution turns under Ys, with the continuous amplitude.
void checkStatic(const std::vector<System>& systems, const std::vector<Outcome>& outcomes) {
    std::vector<long> impossible;
    long held = 0, predicted = 0, kept = 0, keptAgree = 0;
    double largest = 0.0;
    for (std::size_t k = 0; k < systems.size(); ++k) {
        const System& s = systems[k];
        const fv::ExactSteady& e = outcomes[k].exact;
        const bool never = staticBandOf(s) >= 1.0;
        if (e.atRest != never || outcomes[k].plain.atRest != never) {
            impossible.push_back(static_cast<long>(k));
        }
        if (!never || !(s.ratio < 1.0)) {
            continue;
        }
        held++;
        const fv::ClosedFormSystem closed = {s.zeta, 1.0, s.ratio, staticBandOf(s)};
        double amplitude = -1.0;
        const bool turns = fv::continuousTurns(s.z, closed) &&
                           fv::continuousAmplitude(s.z, closed, &amplitude) == 1;
        predicted += turns ? 1 : 0;
        const double detune = 1.0 - s.z * s.z;
        const double forced = 1.0 / std::hypot(detune, 2.0 * s.zeta * s.z);
        const double v0 = 2.0 * std::fmax(1.0, s.z * forced);
        const fv::ExactSteady moving =
            fv::exactSteadyState({s.zeta, s.z, 1.0, s.ratio, staticBandOf(s)}, 0.0, v0);
        const bool keeps = moving.converged && !moving.atRest && moving.stopsPerCycle == 0;
        kept += keeps ? 1 : 0;
        if (keeps && turns) {
            const double d = relativeDifference(moving.amplitude, amplitude);
            largest = std::fmax(largest, d);
            keptAgree += d <= 1e-6 ? 1 : 0;
        }
    }
    std::printf("\nnever break away from rest (Ys/Yf >= 1 > Yc/Yf): %ld; the continuous "
                "solution turns under Ys in %ld; started moving, kept moving without stops %ld, "
                "of them within 1e-6 of the continuous amplitude %ld (max difference %.3e)\n",
                held, predicted, kept, keptAgree, largest);
    listSome("at rest where Ys < Yf, or moving where Ys >= Yf", impossible, systems, outcomes);
}

} // namespace

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::max(0L, std::atol(argv[1])) : 600;
    const long nearCount = argc > 2 ? std::max(0L, std::atol(argv[2])) : 100;
    const std::vector<System> systems = drawSystems(count);
    double seconds = 0.0;
    const std::vector<Outcome> outcomes = runBoth(systems, &seconds);
    std::printf("fixed systems (true: amplitude 1.17713e-5, 2 stops; 0.77589172, 4 stops):\n");
    for (std::size_t k = 0; k < 2; ++k) {
        printBoth(systems[k], outcomes[k]);
    }
    compare(systems, outcomes, 2, seconds);

    const std::vector<System> near = drawNearResonance(nearCount);
    const std::vector<Outcome> nearOutcomes = runBoth(near, &seconds);
    std::printf("\n\nnear resonance with little or no damping (true: 2 stops, 0.29939; 2 stops; "
                "2 stops; grows; 12853.29; 56.350; -):\n");
    const long nearFixed = static_cast<long>(near.size()) - nearCount;
    for (std::size_t k = 0; k < static_cast<std::size_t>(nearFixed); ++k) {
        printBoth(near[k], nearOutcomes[k]);
    }
    compare(near, nearOutcomes, nearFixed, seconds);
    checkPossible(near, nearOutcomes);

    const long staticCount = argc > 3 ? std::max(0L, std::atol(argv[3])) : 600;
    const std::vector<System> withStatic = drawStatic(staticCount);
    const std::vector<Outcome> staticOutcomes = runBoth(withStatic, &seconds);
    std::printf("\n\nstatic friction above sliding friction, Fs/Fric in [1, 3] (fixed: at "
                "rest from rest):\n");
    const long staticFixed = static_cast<long>(withStatic.size()) - staticCount;
    for (std::size_t k = 0; k < static_cast<std::size_t>(staticFixed); ++k) {
        printBoth(withStatic[k], staticOutcomes[k]);
    }
    compare(withStatic, staticOutcomes, staticFixed, seconds);
    checkStatic(withStatic, staticOutcomes);
    return 0;
}
