// Stick-slip amplitude curves: the stick-slip solution swept over the ratio grid.
#pragma once

#include <atomic>
#include <thread>

#include "analysis/curve.h"
#include "common/parallel.h"
#include "freqchar/stickslip.h"

namespace fv {

constexpr int maxSweepCurves = 16; // curves one sweep can fill together

// A sweep of several stick-slip curves under way: helper threads work through its
// points while the thread that started it may do other work, until it finishes the
// sweep by working along and waiting.
struct StickSlipSweep {
    double step;
    int last;        // highest point index of every curve
    int count;       // curves
    int blocks;      // blocks of points per curve
    int totalChunks; // blocks times curves
    ClosedFormSystem systems[maxSweepCurves];
    AmplitudeCurve* curves[maxSweepCurves];
    std::atomic<int> next; // the next chunk to hand out
    std::thread helpers[maxWorkerThreads];
    unsigned started; // helpers running
};

// Fills points 0..n of curve for sys: point 0 is (0, Yf - Yc) without a search, point i
// is (i*step, stickSlipAmplitude(i*step)) with -1.0 where there is no solution; on the
// calling thread alone, for callers that spread their own work over the cores.
void sweepStickSlipHere(double step, int n, const ClosedFormSystem& sys, AmplitudeCurve& curve);

// The same sweep for count systems at once (at most maxSweepCurves), curves[k] for
// systems[k]. Start fills point 0 of every curve and sets helper threads (one fewer
// than the cores) to work on the other points, lowest ratios first across all curves;
// finish works along on the calling thread and returns when every curve is complete.
// Every point is computed on its own, so the curves are those of sweeping one after
// the other, whatever the threads.
void startStickSlipSweep(StickSlipSweep* sweep, double step, int n, const ClosedFormSystem* systems,
                         AmplitudeCurve* const* curves, int count);
void finishStickSlipSweep(StickSlipSweep* sweep);

// Start and finish at once, for curves lying one after the other.
void sweepStickSlipCurves(double step, int n, const ClosedFormSystem* systems,
                          AmplitudeCurve* curves, int count);

} // namespace fv
