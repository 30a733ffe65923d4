// Time-response view: the mass between its anchors with the force arrow, the legend,
// and the strip chart of y(t), f(t)/K and Fr(t)/K.
#pragma once

#include "state/state.h"

namespace fv {

constexpr double mechanismRightX = 0.99; // x of the right anchor [window units]

// Masses on a string from anchor to the right anchor, mass i at displacements[i].
void drawMechanism(const Point2* anchor, double scale, int massCount, const double* displacements);
// Green arrow under (force up) or over (force down) the mass.
void drawForceArrow(const State& s);
void drawTimeLegend();
// Axes cross, 2 s x 0.2 m grid and the three sampled curves.
void drawTimeChart(const State& s);

} // namespace fv
