// Regime map view: the right half of the window as the map of the kinds of steady
// motion over the frequency ratio and the friction ratio, for the entered damping ratio.
#pragma once

#include "state/state.h"

namespace fv {

// Window x of frequency ratio z and window y of friction ratio Yc/Yf on the map.
double regimeMapX(double z);
double regimeMapY(double frictionRatio);

// The cells coloured by the stops per cycle (those done, while it is computed), the
// boundary of motion without stops, the red point of the entered z and Yc/Yf and the
// axes' labels: under the mechanism, which moves over them.
void drawRegimeView(const State& s);

// The caption (with the progress while the map is computed) and the legend, in the lower
// left where the mechanism never goes: drawn last, over the strip chart.
void drawRegimeLegend(const State& s);

} // namespace fv
