// Fuzz target: the friction law, one Runge-Kutta-Gill step and a frame of ten steps
// for arbitrary parameters, times and states.
#include <cmath>

#include "control/params.h"
#include "fuzz_support.h"
#include "timeresp/integrate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    ByteReader in = {data, size, 0};
    fv::m = readDouble(in);
    fv::lambda = readDouble(in);
    fv::K = readDouble(in);
    fv::F = readDouble(in);
    fv::omf = readDouble(in);
    fv::Fric = readDouble(in);
    fv::omega0 = std::sqrt(fv::K / fv::m);
    const double t = readDouble(in);
    const double y = readDouble(in);
    const double v = readDouble(in);

    const double fr = fv::frictionForce(t, y, v);
    if (fv::Fric == 0.0 && fr != 0.0) {
        std::abort(); // no friction, no friction force
    }
    if (std::isfinite(fv::Fric) && std::isfinite(fr) && std::fabs(fr) > std::fabs(fv::Fric)) {
        std::abort(); // friction never exceeds its limit
    }
    const double in2[2] = {y, v};
    double out2[2] = {0.0, 0.0};
    fv::rungeKuttaGillStep(t, readDouble(in), in2, out2, 2);
    fv::stateY[0] = y;
    fv::stateY[1] = v;
    fv::simTime = t;
    fv::advanceFrame();
    return 0;
}
