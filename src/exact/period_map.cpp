// The Jacobian of the period map. Between events a slide obeys the linear equation
//   x'' + 2 zeta x' + x = Yf sin(z tau) - s Yc,
// whose deviations (dx, dv) follow the free motion: d(tau) = Phi(tau - tau0) d(tau0),
// Phi's columns the free motion from (1, 0) and (0, 1). A stuck mass keeps dx and has
// dv = 0. Where the vector field f jumps at an event h(x, v, tau) = 0 the deviations jump
// by the saltation matrix
//   S = I + (f+ - f-) grad(h)^T / (grad(h) . f- + dh/dtau),
// with a- and a+ the accelerations just before and after:
//   turn (h = v, s- -> s+ = -s-):   S = [[1, 0], [0, a+ / a-]],  a = Yf sin - x - s Yc;
//   stop (h = v, f+ = 0):           S = [[1, 0], [0, 0]]  (one direction collapses);
//   breakaway (h = s (Yf sin(z tau) - x) - Ys, f- = 0, f+ = (0, a+), a+ = s (Ys - Yc)):
//                                   S = [[1, 0], [-a+ / (Yf z cos(z tau)), 1]],
//                                   the identity where Ys = Yc.
// So even a motion that never stops has multipliers other than the linear flow's
// exp(-2 pi zeta / z): each turn scales dv by a+/a-. Degenerate cases: a turn with
// a- = 0 or a breakaway where the force is at its extreme (cos(z tau) = 0) has no
// derivative; the matrix then holds infinities or not-a-number, as the limit does.
#include "exact/period_map.h"

#include <cmath>
#include <limits>
#include <vector>

namespace fv {

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// m = a b.
void multiply(const double a[2][2], const double b[2][2], double m[2][2]) {
    double r[2][2];
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j];
        }
    }
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            m[i][j] = r[i][j];
        }
    }
}

// The acceleration of a slide in direction s at rest (v = 0) at x.
double slideAcceleration(const ExactSetup& e, double tau, double x, double s) {
    return e.sys.Yf * std::sin(e.sys.z * tau) - x - s * e.sys.Yc;
}

double direction(Sliding s) {
    return static_cast<double>(static_cast<int>(s));
}

// The saltation matrix where `before` gives way to the stretch starting at `at`.
void saltation(const ExactSetup& e, Sliding before, const ExactState& at, double S[2][2]) {
    S[0][0] = 1.0;
    S[0][1] = 0.0;
    S[1][0] = 0.0;
    S[1][1] = 1.0;
    if (before == at.sliding) {
        return;
    }
    if (at.sliding == Sliding::stuck) {
        S[1][1] = 0.0; // stop
        return;
    }
    const double aPlus = slideAcceleration(e, at.tau, at.x, direction(at.sliding));
    if (before == Sliding::stuck) {
        S[1][0] = -aPlus / (e.sys.Yf * e.sys.z * std::cos(e.sys.z * at.tau)); // breakaway
        if (aPlus == 0.0) {
            S[1][0] = 0.0; // Ys = Yc: the field does not jump
        }
        return;
    }
    S[1][1] = aPlus / slideAcceleration(e, at.tau, at.x, direction(before)); // turn
}

// The linear flow over t: Phi(t).
void freeFlow(const ExactSetup& e, double t, double phi[2][2]) {
    exactFreeMotion(e, t, 1.0, 0.0, &phi[0][0], &phi[1][0]);
    exactFreeMotion(e, t, 0.0, 1.0, &phi[0][1], &phi[1][1]);
}

} // namespace

PeriodMap exactPeriodMapFrom(const ExactSystem& given, const ExactState& start) {
    PeriodMap out = {start, {{nan, nan}, {nan, nan}}, 0, false};
    const ExactSystem sys = positiveRatio(given);
    if (!validExactSystem(sys) || !std::isfinite(start.x) || !std::isfinite(start.v)) {
        return out;
    }
    const ExactSetup e = exactSetup(sys);
    ExactState state = start;
    state.tau = 0.0;
    PeriodRecord record;
    std::vector<ExactPiece> pieces;
    exactPeriod(e, &state, &record, &pieces);
    out.end = state;
    if (record.incomplete || pieces.empty()) {
        return out;
    }
    double J[2][2] = {{1.0, 0.0}, {0.0, 1.0}};
    // A stuck start: a small velocity is taken at once by friction.
    if (pieces.front().start.sliding == Sliding::stuck) {
        J[1][1] = 0.0;
    }
    Sliding before = pieces.front().start.sliding;
    for (const ExactPiece& piece : pieces) {
        double S[2][2];
        saltation(e, before, piece.start, S);
        out.events += before != piece.start.sliding ? 1 : 0;
        multiply(S, J, J);
        if (piece.start.sliding != Sliding::stuck) {
            double phi[2][2];
            freeFlow(e, piece.tauEnd - piece.start.tau, phi);
            multiply(phi, J, J);
        }
        before = piece.start.sliding;
    }
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            out.jacobian[i][j] = J[i][j];
        }
    }
    out.valid = true;
    return out;
}

PeriodMap exactPeriodMap(const ExactSystem& given, double x0, double v0) {
    const ExactSystem sys = positiveRatio(given);
    if (!validExactSystem(sys)) {
        return exactPeriodMapFrom(sys, {0.0, x0, v0, Sliding::stuck});
    }
    return exactPeriodMapFrom(sys, exactStart(exactSetup(sys), x0, v0));
}

Multipliers eigenvalues2(const double m[2][2]) {
    const double half = 0.5 * (m[0][0] + m[1][1]);
    const double det = m[0][0] * m[1][1] - m[0][1] * m[1][0];
    const double disc = half * half - det;
    Multipliers out;
    if (disc >= 0.0) {
        // The larger root without cancellation, the other from the product.
        const double big = half + std::copysign(std::sqrt(disc), half);
        out.mu[0] = big;
        out.mu[1] = big != 0.0 ? det / big : 0.0;
    } else {
        const double im = std::sqrt(-disc);
        out.mu[0] = {half, im};
        out.mu[1] = {half, -im};
    }
    return out;
}

} // namespace fv
