// Stick-slip amplitude curves: every grid point is an independent search, so a
// point without a solution never stops the sweep.
#include "freqchar/curves.h"

#include "freqchar/stickslip.h"

namespace fv {

void sweepStickSlipAmplitude(double step, int n, AmplitudeCurve& curve) {
    if (n > curveCapacity - 1) {
        n = curveCapacity - 1; // a curve has no room beyond point 2000
    }
    if (n < 0) {
        return;
    }
    // At zero frequency the mass is displaced statically by the force less friction.
    curve.ratio[0] = 0.0;
    curve.amplitude[0] = Yf - Yc;
    for (int i = 1; i <= n; ++i) {
        const double z = static_cast<double>(i) * step;
        double dwellAngle = 0.0;
        double stopPhase = 0.0;
        curve.ratio[i] = z;
        curve.amplitude[i] = stickSlipAmplitude(z, &dwellAngle, &stopPhase);
    }
}

} // namespace fv
