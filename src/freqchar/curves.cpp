// Stick-slip amplitude curves: every grid point is an independent search, so a
// point without a solution never stops the sweep, and the points of all the curves
// of one call are spread over all cores together. The workers receive zeta, Yf and
// Yc as values and write disjoint points; the call returns when all are done, so to
// its caller it behaves exactly like a loop over the curves and their points.
#include "freqchar/curves.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

namespace fv {

namespace {

constexpr int pointsPerChunk = 8; // small: the cost per point varies a hundredfold
constexpr unsigned maxSweepThreads = 64;

// Points 1..last of count curves, handed out chunk by chunk through next; chunk c
// covers points of curve c / chunksPerCurve.
struct SweepJob {
    double step;
    int last;
    int chunksPerCurve;
    int totalChunks;
    const ClosedFormSystem* systems;
    AmplitudeCurve* curves;
    std::atomic<int> next;
};

void sweepChunk(SweepJob* job, int chunk) {
    const int k = chunk / job->chunksPerCurve;
    const int first = 1 + (chunk % job->chunksPerCurve) * pointsPerChunk;
    const int end = std::min(first + pointsPerChunk - 1, job->last);
    AmplitudeCurve& curve = job->curves[k];
    for (int i = first; i <= end; ++i) {
        const double z = static_cast<double>(i) * job->step;
        double dwellAngle = 0.0;
        double stopPhase = 0.0;
        curve.ratio[i] = z;
        curve.amplitude[i] = stickSlipAmplitude(z, job->systems[k], &dwellAngle, &stopPhase);
    }
}

void sweepWorker(SweepJob* job) {
    for (;;) {
        const int chunk = job->next.fetch_add(1);
        if (chunk >= job->totalChunks) {
            return;
        }
        sweepChunk(job, chunk);
    }
}

unsigned workerCount(int chunks) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return std::max(1u, std::min({cores, static_cast<unsigned>(chunks), maxSweepThreads}));
}

// Runs the job on the calling thread and as many helpers as there are cores.
void runJob(SweepJob* job) {
    std::thread helpers[maxSweepThreads];
    unsigned started = 0;
    const unsigned wanted = workerCount(job->totalChunks);
    for (unsigned k = 1; k < wanted; ++k) {
        try {
            helpers[started] = std::thread(sweepWorker, job);
            started = started + 1;
        } catch (const std::system_error&) {
            break; // no more threads: the others do the rest
        }
    }
    sweepWorker(job);
    for (unsigned k = 0; k < started; ++k) {
        helpers[k].join();
    }
}

} // namespace

void sweepStickSlipCurves(double step, int n, const ClosedFormSystem* systems,
                          AmplitudeCurve* curves, int count) {
    if (n > curveCapacity - 1) {
        n = curveCapacity - 1; // a curve has no room beyond point 2000
    }
    if (n < 0 || count <= 0) {
        return;
    }
    for (int k = 0; k < count; ++k) {
        // At zero frequency the mass is displaced statically by the force less friction.
        curves[k].ratio[0] = 0.0;
        curves[k].amplitude[0] = systems[k].Yf - systems[k].Yc;
    }
    SweepJob job;
    job.step = step;
    job.last = n;
    job.chunksPerCurve = (n + pointsPerChunk - 1) / pointsPerChunk;
    job.totalChunks = job.chunksPerCurve * count;
    job.systems = systems;
    job.curves = curves;
    job.next.store(0);
    runJob(&job);
}

void sweepStickSlipAmplitude(double step, int n, AmplitudeCurve& curve) {
    const ClosedFormSystem system = currentClosedFormSystem();
    sweepStickSlipCurves(step, n, &system, &curve, 1);
}

} // namespace fv
