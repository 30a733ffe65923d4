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
//   closed form of the slide, to 1e-13 of the larger of the slide's integral and its
//   share of the cycle's scale;
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
// Accuracy of each slide's integral, relative to the larger of the integral and the
// slide's share of the cycle's scale A (A max(z, 1) + |Yf| + Yc) [-]: a few hundred units
// in the last place. The scale keeps a tiny slide, whose integrand is all rounding,
// from being halved for ever.
constexpr double workTolerance = 1e-13;
// Halvings of a slide at most: 2^15 pieces, far more than a smooth slide needs.
constexpr unsigned maxWorkDepth = 15;

using Kronrod = boost::math::quadrature::gauss_kronrod<double, kronrodPoints>;

// The integral of f over [a, b] within tolerance, given its Gauss-Kronrod estimate and
// error there: the interval is halved while the error exceeds it (each half gets half
// the tolerance).
template <typename Function>
double adaptive(const Function& f, double a, double b, double estimate, double error,
                double tolerance, unsigned depth) {
    const double mid = a + 0.5 * (b - a);
    if (depth == 0 || !(error > tolerance) || !(mid > a && mid < b)) {
        return estimate;
    }
    double errorLow = 0.0;
    double errorHigh = 0.0;
    const double low = Kronrod::integrate(f, a, mid, 0, 0.0, &errorLow);
    const double high = Kronrod::integrate(f, mid, b, 0, 0.0, &errorHigh);
    return adaptive(f, a, mid, low, errorLow, 0.5 * tolerance, depth - 1) +
           adaptive(f, mid, b, high, errorHigh, 0.5 * tolerance, depth - 1);
}

// The integral of f >= 0 over a slide [a, b], with floor the cycle's scale of it
// over the period.
template <typename Function>
double integral(const Function& f, double a, double b, double floor, double period) {
    if (!(b > a)) {
        return 0.0;
    }
    double error = 0.0;
    const double first = Kronrod::integrate(f, a, b, 0, 0.0, &error);
    const double scale = std::fmax(std::fabs(first), floor * (b - a) / period);
    return adaptive(f, a, b, first, error, workTolerance * scale, maxWorkDepth);
}

// The work of one slide, added to *w; scale is the cycle's [m^2].
void addSlide(const ExactSetup& e, const ExactPiece& piece, double scale, CycleWork* w) {
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
        a, b, scale, e.period);
    const double lifted = integral(
        [&](double tau) {
            const double v = exactPieceAt(e, piece, tau).v;
            return (Yf * std::sin(e.sys.z * tau) + rise) * (s * v);
        },
        a, b, scale, e.period);
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
    const double A = orbit.steady.amplitude;
    const double scale = A * (A * std::fmax(e.sys.z, 1.0) + std::fabs(e.sys.Yf) + e.sys.Yc);
    CycleWork w = {0.0, 0.0, 0.0};
    for (const ExactPiece& piece : pieces) {
        if (piece.start.sliding != Sliding::stuck) {
            addSlide(e, piece, scale, &w);
        }
    }
    return w;
}

} // namespace fv
