// What the model derives from the physical system: the quantities the dialogue prints
// (Derived) and the frequency characteristic the chart draws (Chart).
#pragma once

#include "analysis/curve.h"
#include "analysis/system.h"

namespace fv {

// The damping ratios of the chart family, in legend order.
constexpr int familySize = 10;
constexpr double zetaTable[familySize] = {0, 0.02, 0.05, 0.1, 0.2, 0.5, 1, 2, 5, 10};

// What the dialogue derives from the system, group by group.
struct Derived {
    double omega0;              // natural angular frequency sqrt(K/m) [rad/s]
    double zeta;                // damping ratio lambda/(2 sqrt(mK)) [-]
    double Yf;                  // static deflection F/K [m]
    double As;                  // static amplitude, equal to Yf [m]
    double Ad;                  // frictionless steady amplitude [m]
    double phi;                 // frictionless phase lag [rad]
    double Yc;                  // dead band Fric/K [m]
    double Ys;                  // static band Fs/K [m]; 0 where Fs is not given
    double givenRatio;          // entered frequency ratio omf/omega0 [-]
    double YZA;                 // continuous-motion amplitude at givenRatio [m]
    bool hasYZA;                // YZA is this pass's solution (not kept from before, not none),
                                // and a motion: no static band holds the mass where it turns
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

} // namespace fv
