// The frequency characteristic of a group (3) pass: the 22 curves of the chart for the
// entered damping ratio and the family of ten, their trims and the red point.
#pragma once

#include "freqchar/curves.h"
#include "model/derived.h"

namespace fv {

// A chart computation under way.
struct ChartPass {
    bool sweeping;    // the curves are being swept (else they are still current)
    int sharedMember; // family member whose zeta is the entered one, or -1
    StickSlipSweep sweep;
};

// Whether the chart's curves are those of d's system.
bool chartCurrent(const Chart& chart, const Derived& d);

// Starts the stick-slip sweeps of every distinct damping ratio (the entered one only
// when the family lacks it) as one job on helper threads, unless the curves are still
// current. The caller may print and compute meanwhile, but must not touch the curves.
void startChart(const Derived& d, Chart* chart, ChartPass* pass);

// Sweeps the continuous curves while the helpers sweep, works along until every curve
// is complete, then trims them: the entered pair first (its range chooses the red point
// between YZA and YZB), then the family's, member by member, as a whole recomputation
// leaves them. Needs givenRatio, YZA and YZB; notes the entered range and the red
// point's kind of motion in *d.
void finishChart(Derived* d, Chart* chart, ChartPass* pass);

} // namespace fv
