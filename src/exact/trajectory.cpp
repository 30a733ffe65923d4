// The exact motion over many periods: exactPeriod integrates each period event by event
// into its stretches; a sample is the closed form on the stretch its time falls on, and
// an event is the start of a stretch whose way of moving differs from the one before.
#include "exact/trajectory.h"

#include <cmath>
#include <limits>

namespace fv {

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// The event between two stretches, if any: a slide that ends stuck is a stop, one that
// goes on the other way a turn, and a stuck mass that slides a breakaway. Two stuck
// stretches (a slide that could not start) or a slide going on its way are none.
bool eventBetween(Sliding before, Sliding after, EventKind* kind) {
    if (before == after) {
        return false;
    }
    if (after == Sliding::stuck) {
        *kind = EventKind::stop;
    } else if (before == Sliding::stuck) {
        *kind = EventKind::breakaway;
    } else {
        *kind = EventKind::turn;
    }
    return true;
}

} // namespace

ExactTrajectory exactTrajectory(const ExactSystem& given, double x0, double v0,
                                const std::vector<double>& taus, double tauEnd,
                                const std::atomic<bool>* cancel) {
    ExactTrajectory out = {{}, {}, {}, false};
    out.samples.reserve(taus.size());
    const ExactSystem sys = positiveRatio(given);
    const bool valid = validExactSystem(sys) && std::isfinite(x0) && std::isfinite(v0) &&
                       std::isfinite(tauEnd) && tauEnd >= 0.0;
    if (!valid) {
        for (double tau : taus) {
            out.samples.push_back({tau, nan, nan, nan});
        }
        return out;
    }
    const ExactSetup e = exactSetup(sys);
    ExactState state = exactStart(e, x0, v0);
    out.periodStarts.push_back(state);
    std::vector<ExactPiece> pieces;
    std::size_t next = 0; // the next time to sample
    bool haveBefore = false;
    Sliding before = Sliding::stuck;
    bool complete = true;
    for (long k = 0; static_cast<double>(k) * e.period < tauEnd || k == 0; ++k) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            complete = false;
            break;
        }
        const double t0 = static_cast<double>(k) * e.period;
        pieces.clear();
        PeriodRecord record;
        exactPeriod(e, &state, &record, &pieces);
        if (record.incomplete || pieces.empty()) {
            complete = false;
            break;
        }
        for (const ExactPiece& piece : pieces) {
            EventKind kind = EventKind::stop;
            const bool inside = t0 + piece.start.tau <= tauEnd;
            if (haveBefore && inside && eventBetween(before, piece.start.sliding, &kind)) {
                out.events.push_back({t0 + piece.start.tau, kind, piece.start.x});
            }
            haveBefore = true;
            before = piece.start.sliding;
        }
        // The samples of this period: the last period takes every time left (rounding).
        const double t1 = t0 + e.period;
        std::size_t p = 0;
        while (next < taus.size() && (taus[next] <= t1 || t1 >= tauEnd)) {
            const double local = std::fmin(std::fmax(taus[next] - t0, 0.0), e.period);
            while (p + 1 < pieces.size() && pieces[p].tauEnd < local) {
                p = p + 1;
            }
            OrbitSample s = orbitSampleOn(e, pieces[p], local);
            s.tau = taus[next];
            out.samples.push_back(s);
            next = next + 1;
        }
        out.periodStarts.push_back(state);
    }
    for (; next < taus.size(); ++next) {
        out.samples.push_back({taus[next], nan, nan, nan});
    }
    out.complete = complete;
    return out;
}

} // namespace fv
