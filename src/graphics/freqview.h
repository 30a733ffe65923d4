// Frequency-characteristic chart: amplitude against frequency ratio for the entered
// damping ratio (red) and the family of ten (black continuous, blue stick-slip).
#pragma once

#include "state/state.h"

namespace fv {

void drawFreqLegend();
// Red point and red line at the entered ratio, green line at resonance.
void drawFreqMarkers(const State& s);
// The two red curves, then the ten black and ten blue family curves.
void drawFreqCurves(const State& s);
// The exact steady amplitudes of the entered damping ratio as ringed dots on the
// curves' scales, when they are shown (those computed so far while they are computed):
// black where the motion never stops, blue with one or two stops per cycle, magenta
// with more, grey where the motion did not settle; and their line of the legend.
void drawExactDots(const State& s);

} // namespace fv
