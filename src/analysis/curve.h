// Amplitude curves of the frequency characteristic: the plain record that the sweeps
// fill, the range rules trim and the chart draws.
#pragma once

#include "common/constants.h"

namespace fv {

// Frequency-ratio grid capacity: a curve holds points 0..2000.
constexpr int curveCapacity = 2001;
// The ratio grid of the chart: points 0..1200, 0.0025 apart, z from 0 to 3.
constexpr double gridRatioStep = 0.0025;
constexpr int gridSweepCount = 1200;

// One amplitude curve of the frequency characteristic. Point i is
// (ratio[i], amplitude[i]); a negative amplitude marks a missing value.
struct AmplitudeCurve {
    double ratio[curveCapacity];     // frequency ratio z = omf/omega0 [-]
    double amplitude[curveCapacity]; // steady amplitude [m], -1.0 when none
};

// Index pair {low, high} of the grid range in which motion is continuous.
struct IndexRange {
    int low;
    int high;
};

} // namespace fv
