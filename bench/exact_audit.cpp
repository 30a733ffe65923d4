// Audit of the exact steady state against the plain fixed-step integration of the same
// motion, over random systems with Yf = 1 (reproducible: a fixed seed). Two known hard
// systems come first: a breakaway window of a few hundredths of the phase (Yc/Yf near
// 1) and a four-stop motion at a low ratio. For every system both methods start from
// rest; where both settle, their stops per cycle, their rest and their amplitudes are
// compared, and the systems on which they differ are listed with both results. An
// audit, not a test: the exit status is 0 whatever it finds.
//
//   exact_audit [systems]   random systems after the fixed ones [600]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

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
constexpr int maxListed = 30;
constexpr double bands[] = {1e-9, 1e-7, 1e-5, 1e-3};
constexpr int bandCount = sizeof bands / sizeof bands[0];

struct System {
    double zeta, z, ratio; // ratio = Yc/Yf, Yf = 1
};

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

double relativeDifference(double a, double b) {
    if (a == b) {
        return 0.0;
    }
    const double d = std::fabs(a - b) / std::fmax(std::fabs(a), std::fabs(b));
    return std::isnan(d) ? INFINITY : d;
}

void printBoth(const System& s, const Outcome& o) {
    const double d = relativeDifference(o.exact.amplitude, o.plain.amplitude);
    std::printf("  zeta %-9.6g z %-9.6g Yc/Yf %-10.8g| exact %-14.9g %d stops%s%s %5ld per"
                " | plain %-14.9g %d stops%s%s %5ld per | diff %.2e\n",
                s.zeta, s.z, s.ratio, o.exact.amplitude, o.exact.stopsPerCycle,
                o.exact.atRest ? " rest" : "", o.exact.converged ? "" : " (unsettled)",
                o.exact.periods, o.plain.amplitude, o.plain.stopsPerCycle,
                o.plain.atRest ? " rest" : "", o.plain.settled ? "" : " (unsettled)",
                o.plain.periods, d);
}

} // namespace

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::max(0L, std::atol(argv[1])) : 600;
    const std::vector<System> systems = drawSystems(count);
    const long n = static_cast<long>(systems.size());
    std::vector<Outcome> outcomes(systems.size());
    const auto start = Clock::now();
    fv::parallelFor(n, [&](long k) {
        const System& s = systems[static_cast<std::size_t>(k)];
        Outcome& o = outcomes[static_cast<std::size_t>(k)];
        const auto t0 = Clock::now();
        o.exact = fv::exactSteadyState({s.zeta, s.z, 1.0, s.ratio});
        const auto t1 = Clock::now();
        o.plain = plain::plainSteadyState(s.zeta, s.z, 1.0, s.ratio);
        const auto t2 = Clock::now();
        o.exactMs = std::chrono::duration<double, std::milli>(t1 - t0).count();
        o.plainMs = std::chrono::duration<double, std::milli>(t2 - t1).count();
    });
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

    std::printf("fixed systems (true: amplitude 1.17713e-5, 2 stops; 0.77589172, 4 stops):\n");
    for (int k = 0; k < 2; ++k) {
        printBoth(systems[static_cast<std::size_t>(k)], outcomes[static_cast<std::size_t>(k)]);
    }

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
    std::printf("\n%ld systems (2 fixed, %ld random, seed %#llx): exact settled %ld, plain "
                "settled %ld, both %ld\n",
                n, count, static_cast<unsigned long long>(seed), exactSettled, plainSettled, both);
    std::printf("of those both settled: stops per cycle agree %ld, at rest agree %ld\n", sameStops,
                sameRest);
    std::printf("relative amplitude difference: max %.3e; within", largest);
    for (int b = 0; b < bandCount; ++b) {
        std::printf(" %g: %ld%s", bands[b], within[b], b + 1 < bandCount ? "," : "\n");
    }
    std::printf("\ndisagreeing (stops, rest, or amplitude beyond %g): %zu%s\n", listedDifference,
                listed.size(), listed.size() > maxListed ? ", the first 30:" : "");
    for (std::size_t i = 0; i < listed.size() && i < maxListed; ++i) {
        const long k = listed[i];
        printBoth(systems[static_cast<std::size_t>(k)], outcomes[static_cast<std::size_t>(k)]);
    }
    std::printf("\nnot settled by one or both: %zu%s\n", unsettled.size(),
                unsettled.size() > maxListed ? ", the first 30:" : "");
    for (std::size_t i = 0; i < unsettled.size() && i < maxListed; ++i) {
        const long k = unsettled[i];
        printBoth(systems[static_cast<std::size_t>(k)], outcomes[static_cast<std::size_t>(k)]);
    }
    std::printf("\nrun time %.1f s on %u threads; per system: exact %.1f ms, plain %.1f ms\n",
                seconds, fv::workerThreads(n), n > 0 ? exactMs / n : 0.0,
                n > 0 ? plainMs / n : 0.0);
    return 0;
}
