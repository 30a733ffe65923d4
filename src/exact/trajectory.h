// The exact motion from any state over many forcing periods: its state at chosen times,
// each evaluated in closed form on the stretch it falls on (never interpolated), its
// events (stops, breakaways, turns) and its state at the start of every period.
#pragma once

#include <atomic>
#include <vector>

#include "exact/orbit.h"

namespace fv {

// What happens at an event.
enum class EventKind {
    stop = 0,      // a slide ends and the mass sticks
    breakaway = 1, // a stuck mass starts to slide
    turn = 2,      // a slide ends and the mass slides back at once
};

struct ExactEvent {
    double tau; // time from the start [1/omega0]
    EventKind kind;
    double x; // displacement there [m]
};

struct ExactTrajectory {
    std::vector<OrbitSample> samples;     // at the times asked for (tau from the start)
    std::vector<ExactEvent> events;       // every event up to the end, in order
    std::vector<ExactState> periodStarts; // the state at tau = k T, k = 0 .. periods
    bool complete;                        // every period was integrated (not cancelled,
                                          // no period beyond the work budget)
};

// The motion from (x0, v0) at tau = 0, the start of a forcing period (exactStart), up to
// tauEnd >= 0, sampled at taus (ascending, within [0, tauEnd]). A negative ratio is the
// force of the other sign. The loop over periods ends early, incomplete, once *cancel is
// set (nullptr: never); the samples after that are not-a-number. An invalid system gives
// not-a-number samples, no events, incomplete.
ExactTrajectory exactTrajectory(const ExactSystem& sys, double x0, double v0,
                                const std::vector<double>& taus, double tauEnd,
                                const std::atomic<bool>* cancel = nullptr);

} // namespace fv
