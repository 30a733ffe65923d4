// The straightforward computation of a first pass as a whole process, for the
// side-by-side measurement of bench_process: reads the same eight numbers as the
// dialogue, derives what group (3) needs and computes the pass single-threaded with
// the reference search. It prints the two amplitudes so that nothing is left unused.
#include <cmath>
#include <cstdio>

#include "freqchar/reference_sweep.h"
#include "state/state.h"

int main() {
    double m = 0, lambda = 0, K = 0, F = 0, omf = 0, Fric = 0, y0 = 0, v0 = 0;
    if (std::scanf("%lf %lf %lf %lf %lf %lf %lf %lf", &m, &lambda, &K, &F, &omf, &Fric, &y0, &v0) !=
        8) {
        return 2;
    }
    static fv::State s;
    s.derived.omega0 = std::sqrt(K / m);
    s.derived.zeta = lambda / (2.0 * std::sqrt(m * K));
    s.derived.Yf = F / K;
    s.derived.Yc = Fric / K;
    s.derived.givenRatio = omf / s.derived.omega0;
    ref::group3Pass(s);
    std::printf("%.4f %.4f\n", s.derived.YZA, s.derived.YZB);
    return 0;
}
