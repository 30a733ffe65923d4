// Process-wide parameter set: the values typed in the console, everything derived
// from them, the frequency-characteristic curves, the time-response state and the
// view scales of the window. Every item is defined once, in params.cpp, and starts
// at zero except the named constants.
#pragma once

#include "analysis/curve.h"
#include "analysis/system.h"
#include "exact/dots.h"
#include "regime/map.h"
#include "timeresp/integrate.h"

namespace fv {

// Time-chart ring capacity: samples 0..2000 of each of the three rows.
constexpr int timeRingRows = 3;
constexpr int timeRingLength = 2001;
// Highest ring index the time chart may use.
constexpr int maxTimeRingCapacity = timeRingLength - 1;
// Number of damping ratios in the chart family.
constexpr int familySize = 10;
// A point in window coordinates.
struct Point2 {
    double x;
    double y;
};

// --- Typed parameters ----------------------------------------------------
extern double m;      // mass [kg]
extern double lambda; // viscous damping coefficient [N/(m/s)]
extern double K;      // spring constant [N/m]
extern double F;      // external force amplitude [N]
extern double omf;    // external force angular frequency [rad/s]
extern double Fric;   // Coulomb friction force magnitude [N]
extern double y0;     // initial displacement [m]
extern double v0;     // initial velocity [m/s]

// --- Derived quantities --------------------------------------------------
extern double omega0;              // natural angular frequency sqrt(K/m) [rad/s]
extern double zeta;                // damping ratio lambda/(2 sqrt(mK)) [-]
extern double Yf;                  // static deflection F/K [m]
extern double As;                  // static amplitude, equal to Yf [m]
extern double Ad;                  // frictionless steady amplitude [m]
extern double phi;                 // frictionless phase lag [rad]
extern double Yc;                  // dead band Fric/K [m]
extern double givenRatio;          // entered frequency ratio omf/omega0 [-]
extern double YZA;                 // continuous-motion amplitude at givenRatio [m]
extern double YZB;                 // stick-slip amplitude at givenRatio [m]
extern double givenPointAmplitude; // amplitude of the red point [m]

// --- Frequency-characteristic data ---------------------------------------
extern double ratioStep; // step of the ratio grid [-], 0.0025 once set
extern int sweepCount;   // highest grid index, 1200 once set
// Damping ratios of the chart family, in legend order.
constexpr double zetaTable[familySize] = {0, 0.02, 0.05, 0.1, 0.2, 0.5, 1, 2, 5, 10};
extern AmplitudeCurve continuousCurve;              // entered zeta, continuous motion
extern AmplitudeCurve stickSlipCurve;               // entered zeta, stick-slip motion
extern AmplitudeCurve continuousCurves[familySize]; // family, continuous motion
extern AmplitudeCurve stickSlipCurves[familySize];  // family, stick-slip motion
extern IndexRange continuousRange;                  // continuous range of the last trim
extern ClosedFormSystem chartSystem;                // zeta, Yf, Yc the curves were swept for
extern bool chartReady;                             // the curves are complete for chartSystem

// --- Time-response state --------------------------------------------------
extern double stateY[2];    // {displacement y [m], velocity v [m/s]}
extern double statePrev[2]; // input of the current integration step
extern double simTime;      // simulated time [s]
extern int timeRingIndex;   // index of the newest time-chart sample
// Time-chart rows: y [m], external force [N], friction force on the mass [N].
extern double timeCurves[timeRingRows][timeRingLength];

// --- View scales and origins -----------------------------------------------
extern double verticalScale;   // window units per metre
extern double curveScale[3];   // window units per unit of each time-chart row
extern double timeAxisScale;   // window units per time-chart sample
extern int timeRingCapacity;   // highest time-chart index before the wrap; at most
                               // maxTimeRingCapacity (200 from the dialogue, 't' refuses more)
extern double freqAxisScale;   // window units per ratioStep on the frequency chart
extern Point2 mechanismOrigin; // left anchor of the mechanism figure
extern Point2 timeChartOrigin; // origin of the time chart
extern Point2 freqChartOrigin; // origin of the frequency chart

// --- Window -----------------------------------------------------------------
// GL line width when the last frame began [pixels]: 1 before the first frame, then
// what the previous frame left. A picture redrawn from the state starts from it.
extern float frameStartLineWidth;

// Exact steady states over the frequency chart (key 'e'): shown or not, and the dots
// of exactDots.system once exactDotsReady; computed the first time they are shown for
// a system.
extern bool showExactDots;
extern bool exactDotsReady;
extern ExactDots exactDots;

// Regime map (key 'g'): shown in the right half instead of the frequency chart, and
// the map of regimeMap.zeta once regimeMapReady; computed the first time it is shown
// for a damping ratio.
extern bool showRegimeMap;
extern bool regimeMapReady;
extern RegimeMap regimeMap;

// Playback (space bar): the window advances a frame every playbackFrameMs by itself.
extern bool playing;           // playback runs
extern int playbackGeneration; // the current run; a timer of an earlier run is ignored
extern int nextFrameDueMs;     // when the next played frame is due [ms since glutInit]

// The window's last frame shows the parameter set as it is: no dialogue has run since.
// Only then may finished background work redraw that frame.
extern bool frameCurrent;

// zeta, Yf and Yc now; the equation of motion's values now; the motion now.
ClosedFormSystem currentClosedFormSystem();
MotionParams currentMotionParams();
MotionState currentMotion();
// Advances stateY and simTime by one frame.
void advanceMotion();

// Key that chose the dialogue's first group: 'f' (2), 'r' (3), 'j' (4), else (1).
extern char currentKey;

} // namespace fv
