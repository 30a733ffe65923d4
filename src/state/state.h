// The program's state: everything it keeps while it runs, one object of plain structs,
// zero at start. The quantities keep the names the program prints (m, K, Yf, YZA, ...).
// The program has exactly one (app/program.h); code takes the state, or the parts of it
// it needs, as parameters.
#pragma once

#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include "analysis/curve.h"
#include "analysis/system.h"
#include "exact/dots.h"
#include "regime/map.h"
#include "timeresp/integrate.h"

namespace fv {

// Time-chart ring: samples 0..2000 of each of the three rows.
constexpr int timeRingRows = 3;
constexpr int timeRingLength = 2001;
// Highest ring index the time chart may use.
constexpr int maxTimeRingCapacity = timeRingLength - 1;
// The damping ratios of the chart family, in legend order.
constexpr int familySize = 10;
constexpr double zetaTable[familySize] = {0, 0.02, 0.05, 0.1, 0.2, 0.5, 1, 2, 5, 10};
// The phase lag is printed in degrees with this many radians per degree.
constexpr double radiansPerDegree = 0.01745329252;

// A point in window coordinates (-1..1 on both axes).
struct Point2 {
    double x;
    double y;
};

// The eight values typed in the console, one group after another.
struct Inputs {
    double m;      // mass [kg], group (1)
    double lambda; // viscous damping coefficient [N/(m/s)], group (1)
    double K;      // spring constant [N/m], group (1)
    double F;      // external force amplitude [N], group (2)
    double omf;    // external force angular frequency [rad/s], group (2)
    double Fric;   // Coulomb friction force magnitude [N], group (3)
    double y0;     // initial displacement [m], group (4)
    double v0;     // initial velocity [m/s], group (4)
};

// What the dialogue derives from the inputs, group by group.
struct Derived {
    double omega0;              // natural angular frequency sqrt(K/m) [rad/s]
    double zeta;                // damping ratio lambda/(2 sqrt(mK)) [-]
    double Yf;                  // static deflection F/K [m]
    double As;                  // static amplitude, equal to Yf [m]
    double Ad;                  // frictionless steady amplitude [m]
    double phi;                 // frictionless phase lag [rad]
    double Yc;                  // dead band Fric/K [m]
    double givenRatio;          // entered frequency ratio omf/omega0 [-]
    double YZA;                 // continuous-motion amplitude at givenRatio [m]
    bool hasYZA;                // YZA is this pass's solution (not kept from before, not none)
    double YZB;                 // stick-slip amplitude at givenRatio [m]; 100 when none
    bool hasYZB;                // the stick-slip search found a solution
    double givenPointAmplitude; // amplitude of the red point [m]
    bool givenPointContinuous;  // the red point shows continuous motion (inside enteredRange)
    IndexRange enteredRange;    // continuous range of the entered damping ratio's curves
};

// The frequency characteristic: the curves of the entered damping ratio and the family.
struct Chart {
    double ratioStep;                            // step of the ratio grid [-], 0.0025 once set
    int sweepCount;                              // highest grid index, 1200 once set
    AmplitudeCurve continuousCurve;              // entered zeta, continuous motion
    AmplitudeCurve stickSlipCurve;               // entered zeta, stick-slip motion
    AmplitudeCurve continuousCurves[familySize]; // family, continuous motion
    AmplitudeCurve stickSlipCurves[familySize];  // family, stick-slip motion
    IndexRange continuousRange;                  // continuous range of the last trim
    ClosedFormSystem chartSystem;                // zeta, Yf, Yc the curves were swept for
    bool chartReady;                             // the curves are complete for chartSystem
};

// The time response and the strip chart's samples.
struct Motion {
    double stateY[2];  // {displacement y [m], velocity v [m/s]}
    double simTime;    // simulated time [s]
    int timeRingIndex; // index of the newest time-chart sample
    // Time-chart rows: y [m], external force [N], friction force on the mass [N].
    double timeCurves[timeRingRows][timeRingLength];
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
    // GL line width when the last frame began [pixels]: 1 before the first frame, then
    // what the previous frame left. A picture redrawn from the state starts from it.
    float frameStartLineWidth;
    // The last frame shows the state as it is: no dialogue has run since. Only then may
    // finished background work draw that frame again.
    bool frameCurrent;
};

constexpr int playbackFrameMs = 100; // real time per played frame: 0.1 s of motion [ms]

// Playback (space bar): a frame every playbackFrameMs by itself.
struct Playback {
    bool playing;       // playback runs
    int generation;     // the current run; a timer of an earlier run is ignored
    int nextFrameDueMs; // when the next played frame is due [ms since the window opened]
};

// Work off the event loop (defined by the session's background work).
struct RegimeJob;
struct DotsJob;

struct BackgroundWork {
    std::shared_ptr<RegimeJob> regimeJob; // the regime map under way, or none
    std::shared_ptr<DotsJob> dotsJob;     // the exact dots under way, or none
    // Jobs cancelled or finished whose threads may still run: waited for at the end.
    std::vector<std::shared_ptr<RegimeJob>> retiredMaps;
    std::vector<std::shared_ptr<DotsJob>> retiredDots;
    long regimePartsSeen; // parts of the jobs the window last drew
    long dotPartsSeen;
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
    BackgroundWork work;
};

// The console's streams.
struct ConsoleState {
    char codeset[64]; // the console's Japanese legacy codeset, or empty for UTF-8
    int inputError;   // errno of the first read of standard input that failed, or 0
    int outputError;  // errno of the first write to standard output that failed, or 0
};

// Files under way, removed by the signal handlers: a name in an open folder is noted in a
// slot while inUse is set. Plain arrays, as a signal handler may read nothing else; the
// folder's descriptor makes the name's length all that matters, not the folder's path.
constexpr int maxTemporaries = 16;
constexpr int maxTemporaryName = 256; // NAME_MAX and its terminating zero
struct TemporaryFiles {
    int folders[maxTemporaries]; // descriptor of the folder that holds the name
    char names[maxTemporaries][maxTemporaryName];
    volatile std::sig_atomic_t inUse[maxTemporaries];
    unsigned counter; // the next temporary's number in this process
};

// The window's X handles, for the checks that it still exists.
struct WindowHandles {
    void* display;               // the X display of the window (an Xlib Display*)
    unsigned long window;        // its X window id
    void (*otherErrorHandler)(); // the X error handler that was there before (Xlib's type)
    bool reshaped;               // a picture's window has been mapped and reshaped
};

// The texts the web page takes from the program, kept until the next call that makes
// one of the same kind.
struct PageTexts {
    std::string console; // what the last console pass wrote, UTF-8
    std::string file;    // the last file asked for
    int passes;          // console passes run
};

struct State {
    Inputs input;
    Derived derived;
    Chart chart;
    Motion motion;
    View view;
    Session session;
    ConsoleState console;
    TemporaryFiles files;
    WindowHandles window;
    PageTexts page;
};

// zeta, Yf and Yc of the state's system.
inline ClosedFormSystem closedFormSystem(const State& s) {
    return {s.derived.zeta, s.derived.Yf, s.derived.Yc};
}

// The values the equation of motion reads.
inline MotionParams motionParams(const State& s) {
    return {s.input.m,   s.input.lambda, s.input.K,       s.input.F,
            s.input.omf, s.input.Fric,   s.derived.omega0};
}

// The motion now.
inline MotionState motionState(const State& s) {
    return {s.motion.simTime, s.motion.stateY[0], s.motion.stateY[1]};
}

// Whether the chart's curves, the exact dots and the regime map are those of the
// state's system now.
bool chartCurrent(const State& s);
bool exactDotsCurrent(const State& s);
bool regimeMapCurrent(const State& s);

} // namespace fv
