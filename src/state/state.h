// The program's state: everything it keeps while it runs, one object of plain structs,
// zero at start: the model (the system as typed, what derives from it, the motion) and
// the session. The quantities keep the names the program prints (m, K, Yf, YZA, ...).
// The program has exactly one (app/program.h); code takes the state, or the parts of it
// it needs, as parameters.
#pragma once

#include <memory>
#include <vector>

#include "common/job.h"
#include "model/model.h"
#include "text/catalog.h"

namespace fv {

// Time-chart ring: samples 0..2000 of each of the three rows.
constexpr int timeRingRows = 3;
constexpr int timeRingLength = 2001;
// Highest ring index the time chart may use.
constexpr int maxTimeRingCapacity = timeRingLength - 1;

// A point in window coordinates (-1..1 on both axes).
struct Point2 {
    double x;
    double y;
};

// The time response and the strip chart's samples.
struct Motion {
    double stateY[2];  // {displacement y [m], velocity v [m/s]}
    double simTime;    // simulated time [s]
    int timeRingIndex; // index of the newest time-chart sample
    // Time-chart rows: y [m], external force [N], friction force on the mass [N].
    double timeCurves[timeRingRows][timeRingLength];
    // The velocity [m/s] at each time-chart sample, for the phase plane.
    double velocityRing[timeRingLength];
};

// What the right half shows over or instead of the frequency chart or the regime map.
enum class Panel {
    none,       // the frequency chart (or the regime map, with 'g')
    phasePlane, // y against dy/dt as the motion plays ('o')
    energy,     // the work of a cycle of the exact steady motion ('w')
};

// How the window shows the state: scales, origins and what the right half holds.
struct View {
    double verticalScale;   // window units per metre
    double curveScale[3];   // window units per unit of each time-chart row
    double timeAxisScale;   // window units per time-chart sample
    int timeRingCapacity;   // highest time-chart index before the wrap; at most
                            // maxTimeRingCapacity (200 from the dialogue, 't' refuses more)
    double freqAxisScale;   // window units per ratioStep on the frequency chart
    Point2 mechanismOrigin; // left anchor of the mechanism figure
    Point2 timeChartOrigin; // origin of the time chart
    Point2 freqChartOrigin; // origin of the frequency chart
    bool showExactDots;     // the exact dots lie over the frequency chart (key 'e')
    bool showRegimeMap;     // the right half holds the regime map (key 'g')
    bool clear;             // the clear view: numbered axes, labelled curves ('c')
    Panel panel;            // the right half's panel ('o', 'w')
};

constexpr int playbackFrameMs = 100; // real time per played frame: 0.1 s of motion [ms]

// Playback (space bar): a frame every playbackFrameMs by itself.
struct Playback {
    bool playing;       // playback runs
    int generation;     // the current run; a timer of an earlier run is ignored
    int nextFrameDueMs; // when the next played frame is due [ms since the window opened]
};

// One cycle of the exact steady motion of `system`, kept while the system stays: the
// phase plane and the energy view draw it every frame.
struct CycleKeep {
    PhysicalSystem system; // the system it was computed for
    bool ready;
    EnteredCycle cycle;
};

// Work off the event loop: the jobs under way and the results they fill.
struct BackgroundWork {
    std::shared_ptr<BackgroundJob> mapJob;  // the regime map under way, or none
    std::shared_ptr<RegimeMap> mapCells;    // its cells, whole where its parts are done
    RegimeSystem mapSystem;                 // the system it is computed for
    std::shared_ptr<BackgroundJob> dotsJob; // the exact dots under way, or none
    std::shared_ptr<ExactDots> dotValues;   // its dots, whole where its parts are done
    // Jobs cancelled or finished whose threads may still run: waited for at the end.
    std::vector<std::shared_ptr<BackgroundJob>> retired;
    long mapProgressSeen; // progress of the jobs the window last drew
    long dotsProgressSeen;
    bool ticking; // the window's progress timer runs
};

// What the front ends keep between frames and passes.
struct Session {
    char currentKey;     // chose the dialogue's first group: 'f' (2), 'r' (3), 'j' (4), else (1)
    Playback playback;   // the space bar
    ExactDots exactDots; // the exact dots of exactDots.system, once exactDotsReady
    bool exactDotsReady;
    RegimeMap regimeMap; // the regime map of regimeMap.zeta, once regimeMapReady
    bool regimeMapReady;
    CycleKeep cycle; // the steady cycle the panels show
    BackgroundWork work;
};

// The console's streams.
struct ConsoleState {
    char codeset[64]; // the console's Japanese legacy codeset, or empty for UTF-8
    int inputError;   // errno of the first read of standard input that failed, or 0
    int outputError;  // errno of the first write to standard output that failed, or 0
    // The catalog of the reader's language, for the console and the window's title;
    // none for Japanese, the language the texts are written in.
    const Catalog* catalog;
};

struct State {
    PhysicalSystem input; // the system as typed
    Derived derived;
    Chart chart;
    Motion motion;
    View view;
    Session session;
    ConsoleState console;
};

// zeta, Yf and Yc of the state's system.
inline ClosedFormSystem closedFormSystem(const State& s) {
    return closedFormSystem(s.derived);
}

// The values the equation of motion reads.
inline MotionParams motionParams(const State& s) {
    return motionParams(s.input, s.derived);
}

// The motion now.
inline MotionState motionState(const State& s) {
    return {s.motion.simTime, s.motion.stateY[0], s.motion.stateY[1]};
}

// Whether the frequency chart shows the exact dots: 'e' toggles them, and they are shown
// from the start where a static force above the sliding one leaves ratios at which no
// closed form holds.
inline bool exactDotsShown(const State& s) {
    return s.view.showExactDots != (s.derived.Ys > s.derived.Yc);
}

// Whether the chart's curves, the exact dots and the regime map are those of the
// state's system now.
bool chartCurrent(const State& s);
bool exactDotsCurrent(const State& s);
bool regimeMapCurrent(const State& s);

} // namespace fv
