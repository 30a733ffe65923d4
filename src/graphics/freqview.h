// Frequency-characteristic chart: amplitude against frequency ratio for the entered
// damping ratio (red) and the family of ten (black continuous, blue stick-slip).
#pragma once

namespace fv {

void drawFreqLegend();
// Red point and red line at the entered ratio, green line at resonance.
void drawFreqMarkers();
// The two red curves, then the ten black and ten blue family curves.
void drawFreqCurves();

} // namespace fv
