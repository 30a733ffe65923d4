// The work of one cycle of the exact steady motion. While the mass slides in direction
// s = sgn(x'),
//   x'' + 2 zeta x' + x = Yf sin(z tau) - s Yc,        tau = omega0 t, x [m];
// times x' and integrated over the forcing period T = 2 pi / z,
//   [x'^2 / 2 + x^2 / 2] from 0 to T = W_in - W_visc - W_fric,
//   W_in   = integral of Yf sin(z tau) x' dtau,
//   W_visc = integral of 2 zeta x'^2 dtau,
//   W_fric = Yc times the integral of |x'| dtau,
// and a periodic motion returns to its energy: W_in = W_visc + W_fric. A stuck mass
// (x' = 0) takes part in none of them.
//
// In joules: the equation is m y'' + lambda y' + K y = F sin(omf t) - s Fric over K, with
// dy = x' dtau, F = K Yf, Fric = K Yc and lambda dy/dt = lambda omega0 x' = K 2 zeta x'
// (2 zeta = lambda / (m omega0), omega0^2 = K / m). So the force's work, the integral of
// F sin(omf t) dy, is K W_in, the damper's, the integral of lambda (dy/dt) dy, is K W_visc,
// and friction's, Fric times the path, K W_fric [N/m m^2 = J].
//
// Degenerate cases first: no steady motion gives not-a-number, a mass at rest for good
// no work. Then the period is integrated once more from its start, stretch by stretch:
// - friction's work on a slide is Yc |x(end) - x(start)|, the velocity keeping its sign
//   along a slide (a slide ends where it reaches zero): exact, and for a motion that
//   moves monotonically between turning points the path is 4 A, so W_fric = 4 Yc A;
// - the damper's, a positive integrand, by adaptive Gauss-Kronrod quadrature on the
//   closed form of the slide;
// - the force's as the integral of s (Yf sin(z tau) + |Yf|) x' >= 0, less |Yf| |dx|:
//   a positive integrand too, so that the quadrature's relative tolerance holds where
//   the power of the force changes sign along the slide.
#include "exact/energy.h"

#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <cmath>
#include <vector>

#include "exact/orbit.h"

namespace fv {

namespace {

constexpr unsigned kronrodPoints = 31;
// Relative accuracy of each slide's integral [-]: a few hundred units in the last place.
constexpr double workTolerance = 1e-13;
// Halvings of a slide at most: 2^15 pieces, far more than a smooth slide needs.
constexpr unsigned maxWorkDepth = 15;

using Kronrod = boost::math::quadrature::gauss_kronrod<double, kronrodPoints>;

template <typename Function> double integral(Function f, double a, double b) {
    if (!(b > a)) {
        return 0.0;
    }
    return Kronrod::integrate(f, a, b, maxWorkDepth, workTolerance);
}

// The work of one slide, added to *w.
void addSlide(const ExactSetup& e, const ExactPiece& piece, CycleWork* w) {
    const double a = piece.start.tau;
    const double b = piece.tauEnd;
    const double s = static_cast<double>(static_cast<int>(piece.start.sliding));
    const double Yf = e.sys.Yf;
    const double rise = std::fabs(Yf);
    const double path = std::fabs(exactPieceAt(e, piece, b).x - piece.start.x);
    const double viscous = integral(
        [&](double tau) {
            const double v = exactPieceAt(e, piece, tau).v;
            return v * v;
        },
        a, b);
    const double lifted = integral(
        [&](double tau) {
            const double v = exactPieceAt(e, piece, tau).v;
            return (Yf * std::sin(e.sys.z * tau) + rise) * (s * v);
        },
        a, b);
    w->input += s * (lifted - rise * path);
    w->viscous += 2.0 * e.sys.zeta * viscous;
    w->friction += e.sys.Yc * path;
}

} // namespace

CycleWork exactCycleWork(const ExactSteadyOrbit& orbit) {
    const double nan = std::nan("");
    if (orbit.steady.atRest && orbit.steady.converged) {
        return {0.0, 0.0, 0.0};
    }
    ExactSetup e = {};
    std::vector<ExactPiece> pieces;
    if (!steadyPieces(orbit, &e, &pieces)) {
        return {nan, nan, nan};
    }
    CycleWork w = {0.0, 0.0, 0.0};
    for (const ExactPiece& piece : pieces) {
        if (piece.start.sliding != Sliding::stuck) {
            addSlide(e, piece, &w);
        }
    }
    return w;
}

} // namespace fv
