// Work off the event loop: the regime map and the exact dots as jobs of one kind
// (common/job.h). A job is shared between the event loop, which may drop it, and the
// detached thread that fills it, so that a cancelled job never makes the event loop
// wait: its thread finishes the part it is on and goes. Where no thread can be started
// (the browser) the event loop works the job itself, a slice of parts at a time.
#include "session/background.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>
#ifdef __linux__
#include <sys/resource.h>
#endif

#include "common/parallel.h"

namespace fv {

namespace {

// A map's row is a group: its chart row first, which takes about as long as the row's
// cells and so weighs as many, then its cells.
constexpr long mapGroupParts = regimeColumns + 1;
constexpr long mapParts = static_cast<long>(regimeRows) * mapGroupParts;
constexpr int stopPollMs = 5; // how often the end of the threads is looked for
#ifdef __linux__
constexpr int workerNiceness = 5; // the workers' priority below the window's (nice)
#endif

// Runs the job on a detached thread that keeps it alive; where no thread can be started
// the calling thread does the work. Where threads are not available at all the job
// waits for the event loop's slices, and no thread holds it.
void launch(const std::shared_ptr<BackgroundJob>& job) {
    if (!threadsAvailable) {
        job->threadEnded.store(true, std::memory_order_release);
        return;
    }
    try {
        std::thread([job] {
#ifdef __linux__
            // Below the window's own thread (and the renderer's), so that a frame asked
            // for by a key is drawn at once; the helpers it starts inherit it.
            setpriority(PRIO_PROCESS, 0, workerNiceness);
#endif
            runJob(job.get());
            job->threadEnded.store(true, std::memory_order_release);
        }).detach();
    } catch (const std::system_error&) {
        runJob(job.get());
        job->threadEnded.store(true, std::memory_order_release);
    }
}

// Cancels the job under way and keeps it among the retired until its thread ends.
void cancel(std::shared_ptr<BackgroundJob>* job, BackgroundWork* work) {
    if (*job) {
        (*job)->cancelled.store(true);
        work->retired.push_back(*job);
        job->reset();
    }
}

// Forgets the retired jobs whose threads have ended; true when none is left.
bool pruneRetired(BackgroundWork* work) {
    std::vector<std::shared_ptr<BackgroundJob>> running;
    for (const std::shared_ptr<BackgroundJob>& job : work->retired) {
        if (!job->threadEnded.load(std::memory_order_acquire)) {
            running.push_back(job);
        }
    }
    work->retired.swap(running);
    return work->retired.empty();
}

// Notes how far *job has come and, once it is finished, copies what it filled into
// *result, sets *ready and retires the job; true when what the window draws has changed.
template <typename Result>
bool collectJob(std::shared_ptr<BackgroundJob>* job, const Result& filled, long* progressSeen,
                Result* result, bool* ready, BackgroundWork* work) {
    if (!*job) {
        return false;
    }
    const long done = (*job)->progress.load();
    bool changed = done != *progressSeen;
    *progressSeen = done;
    if ((*job)->finished.load(std::memory_order_acquire)) {
        *result = filled;
        *ready = true;
        work->retired.push_back(*job);
        job->reset();
        changed = true;
    }
    return changed;
}

// Whether job has parts left for the event loop's slices: it is not finished and its
// groups have not been handed out.
bool partsForSlices(const std::shared_ptr<BackgroundJob>& job) {
    return job && !job->finished.load() && !job->handedOut;
}

} // namespace

void startRegimeMapJob(Session& session, const RegimeSystem& sys) {
    BackgroundWork& work = session.work;
    if ((session.regimeMapReady && sameRegimeSystem(regimeSystemOf(session.regimeMap), sys)) ||
        (work.mapJob && sameRegimeSystem(work.mapSystem, sys))) {
        return;
    }
    cancel(&work.mapJob, &work);
    auto cells = std::make_shared<RegimeMap>();
    cells->zeta = sys.zeta;
    cells->staticRatio = sys.staticRatio;
    work.mapCells = cells;
    work.mapSystem = sys;
    work.mapJob = makeJob(mapParts, mapGroupParts, regimeColumns, [cells, sys](long part) {
        const int row = static_cast<int>(part / mapGroupParts);
        const int column = static_cast<int>(part % mapGroupParts) - 1;
        if (column < 0) {
            computeRegimeChartRow(sys, row, cells.get());
        } else {
            computeRegimeCell(sys, row, column, cells.get());
        }
    });
    work.mapProgressSeen = 0;
    launch(work.mapJob);
}

JobProgress regimeMapJobProgress(const Session& session, const RegimeSystem& sys) {
    const BackgroundWork& work = session.work;
    if (!work.mapJob || !sameRegimeSystem(work.mapSystem, sys)) {
        return {false, 0.0};
    }
    return {true, jobFraction(*work.mapJob)};
}

bool regimeCellDone(const Session& session, int row, int column) {
    const BackgroundWork& work = session.work;
    return work.mapJob && jobPartDone(*work.mapJob, row * mapGroupParts + column + 1);
}

const RegimeMap* regimeMapJobCells(const Session& session) {
    return session.work.mapJob ? session.work.mapCells.get() : nullptr;
}

int takeRegimeMapRow(Session& session) {
    BackgroundWork& work = session.work;
    if (threadsAvailable || !work.mapJob) {
        return -1; // the job's own threads compute every row
    }
    return static_cast<int>(takeJobGroup(work.mapJob.get()));
}

const RegimeSystem* regimeMapJobSystem(const Session& session) {
    return session.work.mapJob ? &session.work.mapSystem : nullptr;
}

bool putRegimeMapRow(Session& session, const RegimeSystem& sys, int row,
                     const RegimeCell (&cells)[regimeColumns]) {
    BackgroundWork& work = session.work;
    if (!work.mapJob || !sameRegimeSystem(work.mapSystem, sys) || row < 0 || row >= regimeRows) {
        return false;
    }
    std::copy(cells, cells + regimeColumns, work.mapCells->cells[row]);
    putJobGroup(work.mapJob.get(), row);
    return true;
}

void computeRegimeMapRow(const RegimeSystem& sys, int row, RegimeMap* scratch,
                         RegimeCell (&cells)[regimeColumns]) {
    RegimeCell* first = scratch->cells[row];
    std::fill(first, first + regimeColumns, RegimeCell{});
    computeRegimeChartRow(sys, row, scratch);
    for (int column = 0; column < regimeColumns; ++column) {
        computeRegimeCell(sys, row, column, scratch);
    }
    std::copy(first, first + regimeColumns, cells);
}

void startExactDotsJob(Session& session, const ClosedFormSystem& sys) {
    BackgroundWork& work = session.work;
    if ((session.exactDotsReady && sameSystem(session.exactDots.system, sys)) ||
        (work.dotsJob && sameSystem(work.dotValues->system, sys))) {
        return;
    }
    cancel(&work.dotsJob, &work);
    auto dots = std::make_shared<ExactDots>();
    dots->system = sys;
    work.dotValues = dots;
    work.dotsJob = makeJob(exactDotCount, 1, 1, [dots](long k) {
        computeExactDot(dots->system, static_cast<int>(k), dots.get());
    });
    work.dotsProgressSeen = 0;
    launch(work.dotsJob);
}

JobProgress exactDotsJobProgress(const Session& session, const ClosedFormSystem& sys) {
    const BackgroundWork& work = session.work;
    if (!work.dotsJob || !sameSystem(work.dotValues->system, sys)) {
        return {false, 0.0};
    }
    return {true, jobFraction(*work.dotsJob)};
}

bool exactDotDone(const Session& session, int k) {
    return session.work.dotsJob && jobPartDone(*session.work.dotsJob, k);
}

const ExactDots* exactDotsJobValues(const Session& session) {
    return session.work.dotsJob ? session.work.dotValues.get() : nullptr;
}

bool collectBackgroundWork(Session& session) {
    BackgroundWork& work = session.work;
    const bool mapChanged =
        work.mapJob && collectJob(&work.mapJob, *work.mapCells, &work.mapProgressSeen,
                                  &session.regimeMap, &session.regimeMapReady, &work);
    const bool dotsChanged =
        work.dotsJob && collectJob(&work.dotsJob, *work.dotValues, &work.dotsProgressSeen,
                                   &session.exactDots, &session.exactDotsReady, &work);
    pruneRetired(&work);
    return mapChanged || dotsChanged;
}

bool stepBackgroundWork(Session& session, double seconds) {
    if (threadsAvailable) {
        return false; // the threads do the work
    }
    BackgroundWork& work = session.work;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::microseconds(static_cast<long>(seconds * 1e6));
    do {
        if (partsForSlices(work.mapJob)) {
            stepJob(work.mapJob.get());
        } else if (partsForSlices(work.dotsJob)) {
            stepJob(work.dotsJob.get());
        } else {
            return false;
        }
    } while (std::chrono::steady_clock::now() < deadline);
    return partsForSlices(work.mapJob) || partsForSlices(work.dotsJob);
}

bool backgroundWorkRunning(const Session& session) {
    return session.work.mapJob != nullptr || session.work.dotsJob != nullptr;
}

void cancelBackgroundWork(Session& session) {
    cancel(&session.work.mapJob, &session.work);
    cancel(&session.work.dotsJob, &session.work);
}

bool stopBackgroundWork(Session& session, double seconds) {
    cancelBackgroundWork(session);
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long>(seconds * 1000.0));
    for (;;) {
        const bool ended = pruneRetired(&session.work);
        if (ended || std::chrono::steady_clock::now() >= deadline) {
            return ended;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(stopPollMs));
    }
}

bool shownExactDots(const State& s, std::vector<ShownDot>* dots) {
    dots->clear();
    if (!exactDotsShown(s)) {
        return false;
    }
    const bool complete = exactDotsCurrent(s);
    const ExactDots* all = complete ? &s.session.exactDots : exactDotsJobValues(s.session);
    if (all == nullptr ||
        !(complete || exactDotsJobProgress(s.session, closedFormSystem(s)).running)) {
        return false;
    }
    for (int k = 0; k < exactDotCount; ++k) {
        const ExactSteady& e = all->steady[k];
        if (!(complete || exactDotDone(s.session, k))) {
            continue; // not computed yet
        }
        if (!e.grows && (e.atRest || !std::isfinite(e.amplitude))) {
            continue; // a mass that never moves: no amplitude to show
        }
        dots->push_back({exactDotRatio(k), e});
    }
    return true;
}

} // namespace fv
