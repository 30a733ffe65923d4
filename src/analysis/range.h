// Continuous-motion range: where along the ratio grid continuous motion applies,
// judged from the stick-slip curve, and the trimming of the continuous curve.
#pragma once

#include "analysis/curve.h"

namespace fv {

// Erases (sets to -1.0) the points of continuous that lie inside a stick-slip
// region of stickSlip, keeping a two-point overlap below and a one-point overlap
// above, and writes the index range of continuous motion to *range. The upper region
// is the stick-slip run that reaches point n.
void trimContinuousCurve(AmplitudeCurve& continuous, const AmplitudeCurve& stickSlip, int n,
                         IndexRange* range);

} // namespace fv
