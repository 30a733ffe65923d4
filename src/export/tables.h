// The numbers written out: the summary of a pass as JSON, the frequency
// characteristic and the time response as CSV. Plain values in, text out.
#pragma once

#include <string>

#include "analysis/curve.h"
#include "exact/steady.h"
#include "regime/map.h"
#include "timeresp/integrate.h"

namespace fv {

// What a first pass computed, as the summary reports it. A has... flag false writes
// null for its value.
struct SummaryValues {
    // Typed parameters.
    double m, lambda, K, F, omf, Fric, y0, v0;
    // Derived quantities; phiDeg is the printed phase lag [deg], z the entered ratio.
    double omega0, zeta, Yf, Yc, Ad, phiDeg, z;
    double YZA;                 // continuous amplitude at z [m]
    bool hasYZA;                // false where continuous motion has no solution at z
    double YZB;                 // stick-slip amplitude at z [m]
    bool hasYZB;                // false where the stick-slip search finds none
    double givenPointAmplitude; // amplitude of the red point [m]
    bool hasGivenPoint;         // false for the off-chart mark of a missing YZB
    bool givenPointContinuous;  // the red point shows continuous motion
    IndexRange continuousRange; // grid indices of the continuous range
    double zLow, zHigh;         // their frequency ratios
    ExactSteady exact;          // exact steady state at z, from rest
};

// One damping ratio's pair of curves on the chart.
struct CurvePair {
    const char* label; // "entered" or "family"
    double zeta;
    const AmplitudeCurve* continuous;
    const AmplitudeCurve* stickSlip;
};

// The shortest text that reads back to the same double, with a decimal point whatever
// the locale; empty for not-a-number and the infinities (an empty cell).
std::string formatNumber(double value);

// The same text for a finite value, built from printf and strtod alone; formatNumber uses
// it where the C++ library cannot write a double itself (the browser).
std::string formatNumberByPrintf(double value);

// summary.json: one object; numbers read back to the same double, and values that
// are not finite numbers are written as null.
std::string summaryJson(const SummaryValues& v);

// frequency.csv: header and one row per pair and grid point 0..n; an amplitude that
// the chart would not draw (negative or not a finite number) is an empty cell.
std::string frequencyCsv(const CurvePair* pairs, int pairCount, int n);

// time.csv: header and one row per frame from t = 0 at start through the frames that
// fit in seconds, integrated as the window's strip chart integrates them; t_s is the
// frame's index in tenths of a second.
std::string timeCsv(const MotionParams& p, MotionState start, double seconds);

// The regime map as CSV: header z,friction_ratio,stops_per_cycle,amplitude_exact,
// amplitude_chart,converged,at_rest and one row per cell, amplitudes in units of Yf (an
// empty cell where there is none), converged and at_rest (the mass never leaves rest)
// as 1 or 0.
std::string regimeCsv(const RegimeMap& map);

// Frames of 0.1 s in seconds (a tiny slack absorbs the rounding of seconds / 0.1).
long framesIn(double seconds);

} // namespace fv
