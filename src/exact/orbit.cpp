// The steady orbit: the settled period integrated once more, event by event, from its
// period-start state, and sampled on its stretches in closed form (no interpolation).
#include "exact/orbit.h"

#include <cmath>

#include "common/constants.h"

namespace fv {

OrbitSample orbitSampleOn(const ExactSetup& e, const ExactPiece& piece, double tau) {
    const ExactState s = exactPieceAt(e, piece, tau);
    if (s.sliding == Sliding::stuck) {
        return {tau, s.x, 0.0, s.x - e.sys.Yf * std::sin(e.sys.z * tau)};
    }
    const double direction = static_cast<double>(static_cast<int>(s.sliding));
    return {tau, s.x, s.v, -direction * e.sys.Yc};
}

bool steadyPieces(const ExactSteadyOrbit& orbit, ExactSetup* setup,
                  std::vector<ExactPiece>* pieces) {
    pieces->clear();
    const ExactSteady& steady = orbit.steady;
    if (!steady.converged || steady.grows || !validExactSystem(orbit.sys)) {
        return false;
    }
    *setup = exactSetup(orbit.sys);
    ExactState state = orbit.start;
    PeriodRecord record;
    exactPeriod(*setup, &state, &record, pieces);
    if (record.incomplete || pieces->empty()) {
        pieces->clear();
        return false;
    }
    return true;
}

std::vector<OrbitSample> sampleSteadyOrbit(const ExactSteadyOrbit& orbit, int n) {
    std::vector<OrbitSample> samples;
    if (n < minOrbitSamples) {
        return samples;
    }
    const double period = orbit.sys.z > 0.0 ? fullTwoPi / orbit.sys.z : std::nan("");
    ExactSetup e = {};
    std::vector<ExactPiece> pieces;
    const bool settled = steadyPieces(orbit, &e, &pieces);
    const double nan = std::nan("");
    samples.reserve(static_cast<std::size_t>(n));
    std::size_t k = 0; // the stretch the time falls on: times only grow
    for (int i = 0; i < n; ++i) {
        // The last time is the period itself, not the sum of n - 1 steps.
        const double tau = i + 1 == n ? period : period * i / (n - 1);
        if (!settled) {
            samples.push_back({tau, nan, nan, nan});
            continue;
        }
        while (k + 1 < pieces.size() && pieces[k].tauEnd < tau) {
            k = k + 1;
        }
        samples.push_back(orbitSampleOn(e, pieces[k], tau));
    }
    return samples;
}

} // namespace fv
