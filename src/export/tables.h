// The numbers written out: the summary of a pass as JSON, the frequency
// characteristic, the time response and the regime map as CSV. The model's values in,
// text out.
#pragma once

#include <string>

#include <vector>

#include "analysis/curve.h"
#include "model/response.h"
#include "model/summary.h"
#include "regime/map.h"

namespace fv {

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
std::string summaryJson(const Summary& v);

// frequency.csv: header and one row per pair and grid point 0..n; an amplitude that
// the chart would not draw (negative or not a finite number) is an empty cell.
std::string frequencyCsv(const CurvePair* pairs, int pairCount, int n);

// time.csv: header and one row per frame of the time response.
std::string timeCsv(const std::vector<ResponseSample>& rows);

// The regime map as CSV: header z,friction_ratio,stops_per_cycle,amplitude_exact,
// amplitude_chart,converged,at_rest,grows and one row per cell, amplitudes in units of Yf (an
// empty cell where there is none), converged and at_rest (the mass never leaves rest)
// as 1 or 0.
std::string regimeCsv(const RegimeMap& map);

} // namespace fv
