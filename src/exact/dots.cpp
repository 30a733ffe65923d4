// The exact dots. Each dot is an independent steady state, so they are handed out to
// every core one by one and the result does not depend on the number of threads.
#include "exact/dots.h"

#include "common/parallel.h"

namespace fv {

double exactDotRatio(int k) {
    return static_cast<double>(k + 1) * exactDotStep;
}

void computeExactDots(const ClosedFormSystem& sys, ExactDots* dots) {
    dots->system = sys;
    parallelFor(exactDotCount, [&](long k) {
        const int i = static_cast<int>(k);
        dots->steady[i] = exactSteadyState({sys.zeta, exactDotRatio(i), sys.Yf, sys.Yc});
    });
}

} // namespace fv
