// Stick-slip amplitude curves: every grid point is an independent search, so a
// point without a solution never stops the sweep, and the points of all the curves
// of one sweep are spread over all cores together. The workers receive zeta, Yf and
// Yc as values and write disjoint points; the sweep is complete when all are done, so
// to its caller it behaves exactly like a loop over the curves and their points.
//
// The cost of a point varies a hundredfold and is highest at the lowest ratios, where
// the residual has most zeros. Chunks are therefore handed out block of ratios by
// block across all curves, the dearest first, so that the last chunks, which decide
// when the sweep ends, are cheap.
#include "freqchar/curves.h"

#include <algorithm>
#include <system_error>

namespace fv {

namespace {

constexpr int pointsPerChunk = 8; // small: the cost per point varies a hundredfold

// Points first..last of curve; point 0 is never searched.
void sweepPoints(double step, int first, int last, const ClosedFormSystem& sys,
                 AmplitudeCurve& curve) {
    for (int i = first; i <= last; ++i) {
        const double z = static_cast<double>(i) * step;
        double dwellAngle = 0.0;
        double stopPhase = 0.0;
        curve.ratio[i] = z;
        curve.amplitude[i] = stickSlipAmplitude(z, sys, &dwellAngle, &stopPhase);
    }
}

// At zero frequency the mass is displaced statically by the force less friction.
void staticPoint(const ClosedFormSystem& sys, AmplitudeCurve& curve) {
    curve.ratio[0] = 0.0;
    curve.amplitude[0] = sys.Yf - sys.Yc;
}

// Chunk c: block c / count of curve c % count.
void sweepChunk(StickSlipSweep* s, int chunk) {
    const int k = chunk % s->count;
    const int first = 1 + (chunk / s->count) * pointsPerChunk;
    const int end = std::min(first + pointsPerChunk - 1, s->last);
    sweepPoints(s->step, first, end, s->systems[k], *s->curves[k]);
}

void sweepWorker(StickSlipSweep* s) {
    for (;;) {
        const int chunk = s->next.fetch_add(1);
        if (chunk >= s->totalChunks) {
            return;
        }
        sweepChunk(s, chunk);
    }
}

} // namespace

void startStickSlipSweep(StickSlipSweep* s, double step, int n, const ClosedFormSystem* systems,
                         AmplitudeCurve* const* curves, int count) {
    if (n > curveCapacity - 1) {
        n = curveCapacity - 1; // a curve has no room beyond point 2000
    }
    s->count = std::max(0, std::min(count, maxSweepCurves));
    s->step = step;
    s->last = n;
    s->blocks = n > 0 ? (n + pointsPerChunk - 1) / pointsPerChunk : 0;
    s->totalChunks = s->blocks * s->count;
    s->next.store(0);
    s->started = 0;
    if (n < 0) {
        s->totalChunks = 0;
        return;
    }
    for (int k = 0; k < s->count; ++k) {
        s->systems[k] = systems[k];
        s->curves[k] = curves[k];
        staticPoint(systems[k], *s->curves[k]);
    }
    const unsigned wanted = workerThreads(s->totalChunks);
    for (unsigned k = 1; k < wanted; ++k) {
        try {
            s->helpers[s->started] = std::thread(sweepWorker, s);
            s->started = s->started + 1;
        } catch (const std::system_error&) {
            break; // no more threads: the others do the rest
        }
    }
}

void finishStickSlipSweep(StickSlipSweep* s) {
    sweepWorker(s);
    for (unsigned k = 0; k < s->started; ++k) {
        s->helpers[k].join();
    }
    s->started = 0;
}

void sweepStickSlipCurves(double step, int n, const ClosedFormSystem* systems,
                          AmplitudeCurve* curves, int count) {
    AmplitudeCurve* pointers[maxSweepCurves];
    const int filled = std::max(0, std::min(count, maxSweepCurves));
    for (int k = 0; k < filled; ++k) {
        pointers[k] = &curves[k];
    }
    StickSlipSweep sweep;
    startStickSlipSweep(&sweep, step, n, systems, pointers, filled);
    finishStickSlipSweep(&sweep);
}

void sweepStickSlipHere(double step, int n, const ClosedFormSystem& sys, AmplitudeCurve& curve) {
    if (n > curveCapacity - 1) {
        n = curveCapacity - 1;
    }
    if (n < 0) {
        return;
    }
    staticPoint(sys, curve);
    sweepPoints(step, 1, n, sys, curve);
}

} // namespace fv
