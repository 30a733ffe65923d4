// Frame benchmark: median time of one whole frame (ten integration steps, the mass,
// the strip chart and 22 frequency curves) drawn into the real window and finished
// with glFinish. Needs a display (run it under Xvfb). For comparison it also times
// the 22 curves drawn one segment and one lighting bracket at a time, and the clear view
// with each panel.
#include <GL/freeglut.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

#include "graphics/display.h"
#include "graphics/freqview.h"
#include "graphics/primitives.h"
#include "picture/clear.h"
#include "session/keys.h"
#include "session/pass.h"
#include "state/state.h"
#include "window/window.h"

namespace {

constexpr int frames = 200;

using Clock = std::chrono::steady_clock;

double medianOf(double* times, int n) {
    std::sort(times, times + n);
    return times[n / 2];
}

// The benchmark's system: m = K = 1, zeta = 0.1, Yf = 0.5, Yc = 0.2 at z = 0.5, from
// rest, as a dialogue pass leaves it.
void setParameters(fv::State& s) {
    s.input = {1.0, 0.2, 1.0, 0.5, 0.5, 0.2, 0.0, 0.0};
    fv::recomputeFrom(s, 1);
}

// One curve one segment at a time, each with its own lighting bracket.
void curveBySegments(const fv::State& s, const fv::AmplitudeCurve& curve, const fv::Color4* color) {
    glLineWidth(2.0f);
    for (int i = 1; i < s.chart.sweepCount; ++i) {
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
    static fv::State s; // the benchmark's own, as a program has one
    fv::WindowContext context = {&s, nullptr};
    fv::createWindow(&context, &argc, argv);
    for (int i = 0; i < 50; ++i) {
        glutMainLoopEvent();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    fv::reshape(fv::windowSize, fv::windowSize);
    setParameters(s);
    const double frame = medianMs([] { fv::display(); });
    const double batched = medianMs([] {
        fv::beginFrame();
        fv::drawFreqCurves(s);
    });
    const double bySegments = medianMs([] {
        fv::beginFrame();
        curveBySegments(s, s.chart.continuousCurve, &fv::colorRed);
        curveBySegments(s, s.chart.stickSlipCurve, &fv::colorRed);
        for (int k = 0; k < fv::familySize; ++k) {
            curveBySegments(s, s.chart.continuousCurves[k], &fv::colorBlack);
            curveBySegments(s, s.chart.stickSlipCurves[k], &fv::colorBlue);
        }
    });
    // The clear view: the same content built as shapes, then drawn, text and all; and the
    // building alone, which the SVG shares.
    s.view.clear = true;
    const double clear = medianMs([] { fv::display(); });
    const double building = medianMs([] { (void)fv::clearPicture(s); });
    s.view.panel = fv::Panel::phasePlane;
    fv::prepareCycle(s);
    const double phase = medianMs([] { fv::display(); });
    s.view.panel = fv::Panel::energy;
    const double energy = medianMs([] { fv::display(); });
    s.view.clear = false;
    s.view.panel = fv::Panel::none;
    std::printf("whole frame (display, glFinish), median of %d: %8.2f ms\n", frames, frame);
    std::printf("clear view, whole frame:                      %8.2f ms\n", clear);
    std::printf("clear view, its shapes built (no GL):          %8.2f ms\n", building);
    std::printf("clear view with the phase plane:               %8.2f ms\n", phase);
    std::printf("clear view with the energy of a cycle:         %8.2f ms\n", energy);
    std::printf("22 frequency curves, one batch per curve:     %8.2f ms\n", batched);
    std::printf("22 frequency curves, one bracket per segment: %8.2f ms\n", bySegments);
    return 0;
}
