// Continuous-motion range: the low-ratio stick-slip run and an optional upper
// stick-slip region bound the ratios at which the mass moves without stopping. The
// upper region is the run that continues to the end of the grid: short runs between
// them, where the mass stops several times per cycle, would otherwise erase the whole
// resonance peak of continuous motion above them.
#include "analysis/range.h"

namespace fv {

namespace {

// First index in from..n whose stick-slip amplitude is positive, or n.
int firstPositive(const AmplitudeCurve& stickSlip, int from, int n) {
    for (int i = from; i <= n; ++i) {
        if (stickSlip.amplitude[i] > 0.0) {
            return i;
        }
    }
    return n;
}

// First index in from..n whose stick-slip amplitude is negative, or n + 1.
int firstNegative(const AmplitudeCurve& stickSlip, int from, int n) {
    for (int i = from; i <= n; ++i) {
        if (stickSlip.amplitude[i] < 0.0) {
            return i;
        }
    }
    return n + 1;
}

// Start of the upper stick-slip region above low, or n when there is none. Above
// resonance stick-slip motion does not end once it has begun, so the region is the run
// that reaches the end of the grid, from its first positive point; a run that ends
// before (a mass that stops several times per cycle at low ratios) bounds nothing. A
// run ends only at a negative amplitude.
int upperRegionStart(const AmplitudeCurve& stickSlip, int low, int n) {
    int j = n;
    while (j > low && !(stickSlip.amplitude[j] < 0.0)) {
        j = j - 1;
    }
    return firstPositive(stickSlip, j + 1, n);
}

} // namespace

void trimContinuousCurve(AmplitudeCurve& continuous, const AmplitudeCurve& stickSlip, int n,
                         IndexRange* range) {
    if (n > curveCapacity - 1) {
        n = curveCapacity - 1; // a curve has no points beyond 2000
    }
    const int first = firstPositive(stickSlip, 0, n);
    if (first == n) {
        *range = {0, n};
        return;
    }
    // A run ends only at a negative value; an amplitude of exactly 0 belongs to it.
    const int stop = firstNegative(stickSlip, first, n);
    const int low = stop <= n ? stop - 1 : n - 1;
    for (int i = 0; i < low - 1; ++i) {
        continuous.amplitude[i] = -1.0;
    }
    if (low == n - 1) {
        *range = {low, n};
        return;
    }
    const int second = upperRegionStart(stickSlip, low, n);
    if (second == n) {
        *range = {low, n};
        return;
    }
    for (int i = second + 1; i <= n; ++i) {
        continuous.amplitude[i] = -1.0;
    }
    *range = {low, second};
}

} // namespace fv
