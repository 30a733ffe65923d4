// The exact dots. Each dot is an independent steady state, so they are handed out to
// every core one by one and the result does not depend on the number of threads.
#include "exact/dots.h"

#include "common/parallel.h"

namespace fv {

double exactDotRatio(int k) {
    return static_cast<double>(k + 1) * exactDotStep;
}

void computeExactDot(const ClosedFormSystem& sys, int k, ExactDots* dots) {
    dots->steady[k] = exactSteadyState({sys.zeta, exactDotRatio(k), sys.Yf, sys.Yc, sys.Ys});
}

void computeExactDots(const ClosedFormSystem& sys, ExactDots* dots) {
    dots->system = sys;
    parallelFor(exactDotCount, [&](long k) { computeExactDot(sys, static_cast<int>(k), dots); });
}

} // namespace fv
