// Frame benchmark: median time of one whole frame (ten integration steps, the mass,
// the strip chart and 22 frequency curves) drawn into the real window and finished
// with glFinish. Needs a display (run it under Xvfb). For comparison it also times
// the 22 curves drawn one segment and one lighting bracket at a time.
#include <GL/freeglut.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

#include "control/params.h"
#include "graphics/display.h"
#include "graphics/freqview.h"
#include "graphics/primitives.h"
#include "graphics/window.h"
#include "group3_pass.h"

namespace {

constexpr int frames = 200;

using Clock = std::chrono::steady_clock;

double medianOf(double* times, int n) {
    std::sort(times, times + n);
    return times[n / 2];
}

void setParameters() {
    fv::m = 1.0;
    fv::lambda = 0.2;
    fv::K = 1.0;
    fv::F = 0.5;
    fv::omf = 0.5;
    fv::Fric = 0.2;
    fv::omega0 = 1.0;
    fv::zeta = 0.1;
    fv::Yf = 0.5;
    fv::Yc = 0.2;
    fv::givenRatio = 0.5;
    group3Pass();
    fv::givenPointAmplitude = fv::YZB;
    fv::stateY[0] = 0.0;
    fv::stateY[1] = 0.0;
    fv::mechanismOrigin = {0.01, 0.0};
    fv::timeChartOrigin = {-0.99, 0.0};
    fv::freqChartOrigin = fv::mechanismOrigin;
    fv::verticalScale = 1.0;
    fv::curveScale[0] = 1.0;
    fv::curveScale[1] = 1.0;
    fv::curveScale[2] = 1.0;
    fv::timeAxisScale = 0.005;
    fv::timeRingCapacity = 200;
    fv::freqAxisScale = 0.001;
}

// One curve one segment at a time, each with its own lighting bracket.
void curveBySegments(const fv::AmplitudeCurve& curve, const fv::Color4* color) {
    glLineWidth(2.0f);
    for (int i = 1; i < fv::sweepCount; ++i) {
        if (curve.amplitude[i - 1] >= 0.0 && curve.amplitude[i] >= 0.0) {
            const fv::Point2 a = {0.4 * curve.ratio[i - 1] + 0.01, curve.amplitude[i - 1]};
            const fv::Point2 b = {0.4 * curve.ratio[i] + 0.01, curve.amplitude[i]};
            fv::drawSegment(&a, &b, color);
        }
    }
    glFlush();
}

template <typename Draw> double medianMs(Draw draw) {
    static double times[frames];
    for (double& t : times) {
        const auto start = Clock::now();
        draw();
        glFinish();
        t = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    return medianOf(times, frames);
}

} // namespace

int main(int argc, char** argv) {
    fv::createWindow(&argc, argv);
    for (int i = 0; i < 50; ++i) {
        glutMainLoopEvent();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    fv::reshape(fv::windowSize, fv::windowSize);
    setParameters();
    const double frame = medianMs([] { fv::display(); });
    const double batched = medianMs([] {
        fv::beginFrame();
        fv::drawFreqCurves();
    });
    const double bySegments = medianMs([] {
        fv::beginFrame();
        curveBySegments(fv::continuousCurve, &fv::colorRed);
        curveBySegments(fv::stickSlipCurve, &fv::colorRed);
        for (int k = 0; k < fv::familySize; ++k) {
            curveBySegments(fv::continuousCurves[k], &fv::colorBlack);
            curveBySegments(fv::stickSlipCurves[k], &fv::colorBlue);
        }
    });
    std::printf("whole frame (display, glFinish), median of %d: %8.2f ms\n", frames, frame);
    std::printf("22 frequency curves, one batch per curve:     %8.2f ms\n", batched);
    std::printf("22 frequency curves, one bracket per segment: %8.2f ms\n", bySegments);
    return 0;
}
