// Fuzz target: the exact steady state for arbitrary zeta, z, Yf, Yc and start state.
// One steady state must end within its budget: a few seconds even under the
// sanitizers, whatever the numbers; its amplitude is a number not below 0 whenever it
// settled, and never one when the system is undefined.
#include <cmath>

#include "exact/steady.h"
#include "fuzz_support.h"

namespace {

constexpr double callLimitSeconds = 20.0; // the sample budget, with the sanitizers' cost

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    ByteReader in = {data, size, 0};
    fv::ExactSystem sys = {};
    sys.zeta = readDouble(in);
    sys.z = readDouble(in);
    sys.Yf = readDouble(in);
    sys.Yc = readDouble(in);
    const double x0 = readDouble(in);
    const double v0 = readDouble(in);

    const auto start = FuzzClock::now();
    const fv::ExactSteady s = fv::exactSteadyState(sys, x0, v0);
    checkDuration(start, callLimitSeconds, "exactSteadyState");
    if (s.converged && std::isfinite(s.amplitude) && s.amplitude < 0.0) {
        std::fprintf(stderr, "negative amplitude %g\n", s.amplitude);
        std::abort();
    }
    if (!fv::validExactSystem(sys) && s.converged) {
        std::fprintf(stderr, "an undefined system settled\n");
        std::abort();
    }
    return 0;
}
