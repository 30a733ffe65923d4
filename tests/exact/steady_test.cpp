// The exact steady state against published and independent values: the undamped
// motion without stops, the boundary of that motion, damped motion with and without
// stops, the linear steady state without friction, the program's closed forms where
// they apply, and a four-stop motion counted by a second, plain integration.
#include <cmath>

#include <gtest/gtest.h>

#include "analysis/continuous.h"
#include "exact/steady.h"
#include "freqchar/stickslip.h"

namespace {

constexpr double publishedTolerance = 1e-5; // relative
constexpr double closedFormTolerance = 1e-6;

fv::ExactSteady steady(double zeta, double frictionRatio, double z) {
    return fv::exactSteadyState({zeta, z, 1.0, frictionRatio});
}

TEST(ExactSteady, PublishedAmplitudes) {
    struct Case {
        double zeta, frictionRatio, z, amplitude;
        int stops;
    } cases[] = {{0, 0.3, 0.6, 1.535602, 0},   {0, 0.1, 1.5, 0.791623, 0},
                 {0, 0.5, 2, 0.220479, 0},     {0, 0.3, 3, 0.110868, 0},
                 {0.05, 0.1, 1, 8.726479, 0},  {0.3, 0.3, 1.5, 0.456614, 0},
                 {1.5, 0.1, 2, 0.130727, 0},   {0, 0.5, 0.5, 1.303429, 2},
                 {0.1, 0.3, 0.5, 1.228727, 2}, {1.5, 0.3, 2, 0.089390, 2}};
    for (const Case& c : cases) {
        const fv::ExactSteady s = steady(c.zeta, c.frictionRatio, c.z);
        EXPECT_TRUE(s.converged);
        EXPECT_NEAR(s.amplitude / c.amplitude, 1.0, publishedTolerance)
            << "zeta " << c.zeta << ", Yc/Yf " << c.frictionRatio << ", z " << c.z;
        EXPECT_EQ(s.stopsPerCycle, c.stops);
    }
    EXPECT_NEAR(steady(0, 0.5, 0.5).stuckFraction, 0.1750, 5e-5);
}

// Without damping, motion without stops ends at the friction ratio 0.59628 at z = 2,
// 0.71321 at z = 1.2, and near pi/4 close to resonance.
TEST(ExactSteady, BoundaryOfMotionWithoutStopsAtZeroDamping) {
    struct Case {
        double z, boundary, margin;
    } cases[] = {{2.0, 0.59628, 1e-4}, {1.2, 0.71321, 1e-4}, {0.99, M_PI / 4.0, 1e-2}};
    for (const Case& c : cases) {
        const fv::ExactSteady below = steady(0.0, c.boundary - c.margin, c.z);
        const fv::ExactSteady above = steady(0.0, c.boundary + c.margin, c.z);
        EXPECT_TRUE(below.converged && above.converged) << c.z;
        EXPECT_EQ(below.stopsPerCycle, 0) << c.z;
        EXPECT_EQ(above.stopsPerCycle, 2) << c.z;
    }
}

TEST(ExactSteady, WithoutFrictionTheLinearSteadyState) {
    for (double zeta : {0.05, 0.5, 1.0, 3.0}) {
        for (double z : {0.3, 1.0, 2.7}) {
            const double D = (1 - z * z) * (1 - z * z) + 4 * zeta * zeta * z * z;
            const fv::ExactSteady s = fv::exactSteadyState({zeta, z, 0.5, 0.0});
            EXPECT_TRUE(s.converged);
            EXPECT_NEAR(s.amplitude / (0.5 / std::sqrt(D)), 1.0, 1e-9) << zeta << " " << z;
            EXPECT_EQ(s.stopsPerCycle, 0);
        }
    }
    // Nothing dissipates: the motion from rest never settles.
    EXPECT_FALSE(fv::exactSteadyState({0.0, 0.5, 1.0, 0.0}).converged);
}

// YZA where the exact motion never stops, YZB where it stops twice per cycle.
TEST(ExactSteady, EqualsTheClosedFormsWhereTheyApply) {
    const double sets[][3] = {{0.1, 0.4, 0.5}, {0.1, 0.2, 0.5}, {0.05, 0.05, 1.0},
                              {0.3, 0.3, 1.5}, {1.0, 0.2, 0.5}, {2.0, 0.2, 0.5},
                              {1.0, 0.4, 2.0}, {0.5, 0.6, 2.5}, {0.2, 0.1, 0.8}};
    for (const auto& p : sets) {
        const fv::ClosedFormSystem sys = {p[0], 0.5, 0.5 * p[1]};
        const fv::ExactSteady s = fv::exactSteadyState({sys.zeta, p[2], sys.Yf, sys.Yc});
        ASSERT_TRUE(s.converged);
        double closed = 0.0;
        if (s.stopsPerCycle == 0) {
            ASSERT_EQ(fv::continuousAmplitude(p[2], sys, &closed), 1);
        } else {
            ASSERT_EQ(s.stopsPerCycle, 2);
            double theta = 0.0;
            double beta = 0.0;
            closed = fv::stickSlipAmplitude(p[2], sys, &theta, &beta);
        }
        EXPECT_NEAR(s.amplitude / closed, 1.0, closedFormTolerance)
            << p[0] << " " << p[1] << " " << p[2] << ", stops " << s.stopsPerCycle;
    }
}

// A second method: fixed small steps of the classical Runge-Kutta scheme, a velocity
// zero found by halving the step, sticking and breakaway by the same friction law.
struct PlainMotion {
    int stops = 0;     // stops in the last period
    double xMin = 1e9; // extremes in the last period
    double xMax = -1e9;
};

PlainMotion integratePlainly(double zeta, double z, double Yc, int periods) {
    const double period = 2.0 * M_PI / z;
    const double h = period / 20000.0;
    auto accel = [&](double s, double t, double x, double v) {
        return std::sin(z * t) - x - 2.0 * zeta * v - s * Yc;
    };
    auto rk4 = [&](double s, double t, double dt, double* x, double* v) {
        const double x0 = *x, v0 = *v;
        const double k1x = v0, k1v = accel(s, t, x0, v0);
        const double k2x = v0 + 0.5 * dt * k1v,
                     k2v = accel(s, t + 0.5 * dt, x0 + 0.5 * dt * k1x, k2x);
        const double k3x = v0 + 0.5 * dt * k2v,
                     k3v = accel(s, t + 0.5 * dt, x0 + 0.5 * dt * k2x, k3x);
        const double k4x = v0 + dt * k3v, k4v = accel(s, t + dt, x0 + dt * k3x, k4x);
        *x = x0 + dt / 6.0 * (k1x + 2 * k2x + 2 * k3x + k4x);
        *v = v0 + dt / 6.0 * (k1v + 2 * k2v + 2 * k3v + k4v);
    };
    PlainMotion m;
    double t = 0.0, x = 0.0, v = 0.0, s = 0.0; // s = 0: stuck
    while (t < periods * period) {
        const bool last = t >= (periods - 1) * period;
        if (s == 0.0) {
            const double S = std::sin(z * (t + h)) - x;
            if (std::fabs(S) > Yc) {
                double lo = t, hi = t + h;
                for (int i = 0; i < 60; ++i) {
                    const double mid = 0.5 * (lo + hi);
                    (std::fabs(std::sin(z * mid) - x) > Yc ? hi : lo) = mid;
                }
                t = hi;
                s = S > 0 ? 1.0 : -1.0;
            } else {
                t += h;
            }
            continue;
        }
        double x1 = x, v1 = v;
        rk4(s, t, h, &x1, &v1);
        if (s * v1 > 0.0) {
            t += h, x = x1, v = v1;
        } else {
            double lo = 0.0, hi = 1.0;
            for (int i = 0; i < 60; ++i) {
                const double mid = 0.5 * (lo + hi);
                double xm = x, vm = v;
                rk4(s, t, mid * h, &xm, &vm);
                (s * vm > 0.0 ? lo : hi) = mid;
            }
            rk4(s, t, hi * h, &x, &v);
            t += hi * h;
            v = 0.0;
            const double S = std::sin(z * t) - x;
            s = std::fabs(S) <= Yc ? 0.0 : (S > 0 ? 1.0 : -1.0);
            m.stops += last && s == 0.0 ? 1 : 0;
        }
        if (last) {
            m.xMin = std::fmin(m.xMin, x);
            m.xMax = std::fmax(m.xMax, x);
        }
    }
    return m;
}

TEST(ExactSteady, FourStopsPerCycleCountedBySecondMethod) {
    const fv::ExactSteady s = steady(0.0, 0.3, 0.2);
    ASSERT_TRUE(s.converged);
    EXPECT_EQ(s.stopsPerCycle, 4);
    const PlainMotion plain = integratePlainly(0.0, 0.2, 0.3, 30);
    EXPECT_EQ(plain.stops, 4);
    EXPECT_NEAR(0.5 * (plain.xMax - plain.xMin), s.amplitude, 1e-4);
}

// A force of the other sign is the same force half a period later: the same motion.
TEST(ExactSteady, NegativeForceMirrorsTheMotion) {
    const fv::ExactSteady plus = fv::exactSteadyState({0.1, 0.8, 1.0, 0.5});
    const fv::ExactSteady minus = fv::exactSteadyState({0.1, 0.8, -1.0, 0.5});
    ASSERT_TRUE(plus.converged && minus.converged);
    EXPECT_FALSE(minus.atRest);
    EXPECT_NEAR(minus.amplitude / plus.amplitude, 1.0, 1e-9);
    EXPECT_EQ(minus.stopsPerCycle, plus.stopsPerCycle);
}

// A mass at rest whose force exceeds the friction force by rounding alone, falling back
// within it: the slide cannot start, and the mass stays at rest until a real breakaway.
TEST(ExactSteady, SlideThatCannotStartComesToRest) {
    const fv::ExactSetup e = fv::exactSetup({0.05, 0.7, 1.0, 0.3});
    const double tau = 2.62;
    double x = std::sin(0.7 * tau) - 0.3;
    for (int ulp = 0; ulp < 4; ++ulp) {
        x = std::nextafter(x, -1.0); // the force Yf sin(z tau) - x just above Yc
    }
    fv::ExactState state = {tau, x, 0.0, fv::Sliding::forward};
    fv::PeriodRecord record;
    fv::exactPeriod(e, &state, &record);
    EXPECT_FALSE(record.incomplete);
    EXPECT_LE(record.stops, 3);
}

TEST(ExactSteady, DegenerateSystems) {
    EXPECT_TRUE(std::isnan(fv::exactSteadyState({0.1, 0.0, 1.0, 0.1}).amplitude));
    EXPECT_TRUE(std::isnan(fv::exactSteadyState({0.1, NAN, 1.0, 0.1}).amplitude));
    EXPECT_TRUE(std::isnan(fv::exactSteadyState({-0.1, 1.0, 1.0, 0.1}).amplitude));
    EXPECT_FALSE(fv::exactSteadyState({0.1, INFINITY, 1.0, 0.1}).converged);
    // A period of 6e300: more samples than any steady state may take, given up at once.
    EXPECT_EQ(fv::exactSteadyState({0.1, 1e-300, 1.0, 0.1}).periods, 0);
    // Friction at least the force: the mass never leaves its rest.
    const fv::ExactSteady rest = fv::exactSteadyState({0.1, 0.7, 1.0, 1.0});
    EXPECT_TRUE(rest.atRest && rest.converged);
    EXPECT_EQ(rest.amplitude, 0.0);
    EXPECT_EQ(rest.stuckFraction, 1.0);
}

} // namespace
