// Fuzz target: the friction law, one Runge-Kutta-Gill step and a frame of ten steps
// for arbitrary parameters, times and states.
#include <cmath>

#include "fuzz_support.h"
#include "timeresp/integrate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    ByteReader in = {data, size, 0};
    fv::MotionParams p = {};
    p.m = readDouble(in);
    p.lambda = readDouble(in);
    p.K = readDouble(in);
    p.F = readDouble(in);
    p.omf = readDouble(in);
    p.Fric = readDouble(in);
    p.omega0 = std::sqrt(p.K / p.m);
    const double t = readDouble(in);
    const double y = readDouble(in);
    const double v = readDouble(in);

    const double fr = fv::frictionForce(p, t, y, v);
    if (p.Fric == 0.0 && fr != 0.0) {
        std::abort(); // no friction, no friction force
    }
    if (std::isfinite(p.Fric) && std::isfinite(fr) && std::fabs(fr) > std::fabs(p.Fric)) {
        std::abort(); // friction never exceeds its limit
    }
    const double in2[2] = {y, v};
    double out2[2] = {0.0, 0.0};
    fv::rungeKuttaGillStep(p, t, readDouble(in), in2, out2, 2);
    fv::MotionState s = {t, y, v};
    fv::advanceFrame(p, &s);
    return 0;
}
