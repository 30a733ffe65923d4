// Work off the event loop. A job is shared between the event loop, which may drop it,
// and the detached thread that fills it, so that a cancelled job never makes the event
// loop wait: its thread finishes the part it is on and goes. A part (a cell of the map,
// a dot) is marked done with release order after it is written, and read only after
// its mark is seen with acquire order. Where no thread can be started (the browser) the
// event loop works the job itself, a slice of parts at a time, in the order one thread
// would.
#include "session/background.h"

#include <atomic>
#include <chrono>
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

// A chart row of the map takes about as long as a row of its cells: it counts as many
// parts in the progress.
constexpr long chartRowParts = regimeColumns;
constexpr long regimeParts = static_cast<long>(regimeRows) * (regimeColumns + chartRowParts);
constexpr int stopPollMs = 5; // how often the end of the threads is looked for
#ifdef __linux__
constexpr int workerNiceness = 5; // the workers' priority below the window's (nice)
#endif

} // namespace

struct RegimeJob {
    double zeta;
    RegimeMap map;
    int nextRow;    // the next part worked by slices: the chart row of nextRow
    int nextColumn; // (nextColumn -1) or its cell in nextColumn
    std::atomic<bool> cellDone[regimeRows][regimeColumns];
    std::atomic<long> partsDone;
    std::atomic<bool> cancelled;
    std::atomic<bool> finished;    // every part is done (or the job was cancelled)
    std::atomic<bool> threadEnded; // its thread has let go of it
};

struct DotsJob {
    ClosedFormSystem system;
    ExactDots dots;
    int nextDot; // the next dot worked by slices
    std::atomic<bool> dotDone[exactDotCount];
    std::atomic<long> partsDone;
    std::atomic<bool> cancelled;
    std::atomic<bool> finished;
    std::atomic<bool> threadEnded;
};

namespace {

void regimeChartRowPart(RegimeJob* job, int row) {
    computeRegimeChartRow(job->zeta, row, &job->map);
    job->partsDone.fetch_add(chartRowParts, std::memory_order_relaxed);
}

void regimeCellPart(RegimeJob* job, int row, int column) {
    computeRegimeCell(job->zeta, row, column, &job->map);
    job->cellDone[row][column].store(true, std::memory_order_release);
    job->partsDone.fetch_add(1, std::memory_order_relaxed);
}

void dotPart(DotsJob* job, int k) {
    computeExactDot(job->system, k, &job->dots);
    job->dotDone[k].store(true, std::memory_order_release);
    job->partsDone.fetch_add(1, std::memory_order_relaxed);
}

void runRegimeJob(RegimeJob* job) {
    parallelFor(regimeRows, [job](long r) {
        const int row = static_cast<int>(r);
        if (job->cancelled.load(std::memory_order_relaxed)) {
            return;
        }
        regimeChartRowPart(job, row);
        for (int c = 0; c < regimeColumns; ++c) {
            if (job->cancelled.load(std::memory_order_relaxed)) {
                return;
            }
            regimeCellPart(job, row, c);
        }
    });
    job->finished.store(true, std::memory_order_release);
}

void runDotsJob(DotsJob* job) {
    parallelFor(exactDotCount, [job](long k) {
        if (job->cancelled.load(std::memory_order_relaxed)) {
            return;
        }
        dotPart(job, static_cast<int>(k));
    });
    job->finished.store(true, std::memory_order_release);
}

// The next part of a job worked by slices; it is finished after its last part.
void stepRegimeJob(RegimeJob* job) {
    if (job->nextColumn < 0) {
        regimeChartRowPart(job, job->nextRow);
    } else {
        regimeCellPart(job, job->nextRow, job->nextColumn);
    }
    if (++job->nextColumn == regimeColumns) {
        job->nextColumn = -1;
        ++job->nextRow;
    }
    if (job->nextRow == regimeRows) {
        job->finished.store(true, std::memory_order_release);
    }
}

void stepDotsJob(DotsJob* job) {
    dotPart(job, job->nextDot);
    if (++job->nextDot == exactDotCount) {
        job->finished.store(true, std::memory_order_release);
    }
}

// Runs work(job) on a detached thread that keeps the job alive; where no thread can be
// started the calling thread does the work. Where threads are not available at all the
// job waits for the event loop's slices, and no thread holds it.
template <typename Job> void launch(const std::shared_ptr<Job>& job, void (*work)(Job*)) {
    if (!threadsAvailable) {
        job->threadEnded.store(true, std::memory_order_release);
        return;
    }
    try {
        std::thread([job, work] {
#ifdef __linux__
            // Below the window's own thread (and the renderer's), so that a frame asked
            // for by a key is drawn at once; the helpers it starts inherit it.
            setpriority(PRIO_PROCESS, 0, workerNiceness);
#endif
            work(job.get());
            job->threadEnded.store(true, std::memory_order_release);
        }).detach();
    } catch (const std::system_error&) {
        work(job.get());
        job->threadEnded.store(true, std::memory_order_release);
    }
}

// Cancels the job under way and keeps it among the retired until its thread ends.
template <typename Job>
void cancel(std::shared_ptr<Job>* job, std::vector<std::shared_ptr<Job>>* retired) {
    if (*job) {
        (*job)->cancelled.store(true);
        retired->push_back(*job);
        job->reset();
    }
}

// Forgets the retired jobs whose threads have ended; true when none is left.
template <typename Job> bool pruneRetired(std::vector<std::shared_ptr<Job>>* retired) {
    std::vector<std::shared_ptr<Job>> running;
    for (const std::shared_ptr<Job>& job : *retired) {
        if (!job->threadEnded.load(std::memory_order_acquire)) {
            running.push_back(job);
        }
    }
    retired->swap(running);
    return retired->empty();
}

template <typename Job> void clearFlags(Job* job) {
    job->partsDone.store(0);
    job->cancelled.store(false);
    job->finished.store(false);
    job->threadEnded.store(false);
}

} // namespace

void startRegimeMapJob(Session& session, double zeta) {
    BackgroundWork& work = session.work;
    if ((session.regimeMapReady && sameBits(session.regimeMap.zeta, zeta)) ||
        (work.regimeJob && sameBits(work.regimeJob->zeta, zeta))) {
        return;
    }
    cancel(&work.regimeJob, &work.retiredMaps);
    auto job = std::make_shared<RegimeJob>();
    job->zeta = zeta;
    job->map.zeta = zeta;
    for (auto& row : job->cellDone) {
        for (std::atomic<bool>& done : row) {
            done.store(false, std::memory_order_relaxed);
        }
    }
    clearFlags(job.get());
    job->nextRow = 0;
    job->nextColumn = -1;
    work.regimeJob = job;
    work.regimePartsSeen = 0;
    launch<RegimeJob>(job, runRegimeJob);
}

JobProgress regimeMapJobProgress(const Session& session, double zeta) {
    const std::shared_ptr<RegimeJob>& job = session.work.regimeJob;
    if (!job || !sameBits(job->zeta, zeta)) {
        return {false, 0.0};
    }
    return {true, static_cast<double>(job->partsDone.load()) / regimeParts};
}

bool regimeCellDone(const Session& session, int row, int column) {
    const std::shared_ptr<RegimeJob>& job = session.work.regimeJob;
    return job && job->cellDone[row][column].load(std::memory_order_acquire);
}

const RegimeMap* regimeMapJobCells(const Session& session) {
    return session.work.regimeJob ? &session.work.regimeJob->map : nullptr;
}

void startExactDotsJob(Session& session, const ClosedFormSystem& sys) {
    BackgroundWork& work = session.work;
    if ((session.exactDotsReady && sameSystem(session.exactDots.system, sys)) ||
        (work.dotsJob && sameSystem(work.dotsJob->system, sys))) {
        return;
    }
    cancel(&work.dotsJob, &work.retiredDots);
    auto job = std::make_shared<DotsJob>();
    job->system = sys;
    job->dots.system = sys;
    for (std::atomic<bool>& done : job->dotDone) {
        done.store(false, std::memory_order_relaxed);
    }
    clearFlags(job.get());
    job->nextDot = 0;
    work.dotsJob = job;
    work.dotPartsSeen = 0;
    launch<DotsJob>(job, runDotsJob);
}

JobProgress exactDotsJobProgress(const Session& session, const ClosedFormSystem& sys) {
    const std::shared_ptr<DotsJob>& job = session.work.dotsJob;
    if (!job || !sameSystem(job->system, sys)) {
        return {false, 0.0};
    }
    return {true, static_cast<double>(job->partsDone.load()) / exactDotCount};
}

bool exactDotDone(const Session& session, int k) {
    const std::shared_ptr<DotsJob>& job = session.work.dotsJob;
    return job && job->dotDone[k].load(std::memory_order_acquire);
}

const ExactDots* exactDotsJobValues(const Session& session) {
    return session.work.dotsJob ? &session.work.dotsJob->dots : nullptr;
}

namespace {

// Notes how far *job has come and, once it is finished, moves its result (job's member
// field) into *result, sets *ready and retires the job; true when what the window draws
// has changed.
template <typename Job, typename Result>
bool collectJob(std::shared_ptr<Job>* job, long* partsSeen, Result Job::*field, Result* result,
                bool* ready, std::vector<std::shared_ptr<Job>>* retired) {
    if (!*job) {
        return false;
    }
    const long done = (*job)->partsDone.load();
    bool changed = done != *partsSeen;
    *partsSeen = done;
    if ((*job)->finished.load(std::memory_order_acquire)) {
        *result = (*job).get()->*field;
        *ready = true;
        retired->push_back(*job);
        job->reset();
        changed = true;
    }
    return changed;
}

} // namespace

bool collectBackgroundWork(Session& session) {
    BackgroundWork& work = session.work;
    const bool mapChanged =
        collectJob(&work.regimeJob, &work.regimePartsSeen, &RegimeJob::map, &session.regimeMap,
                   &session.regimeMapReady, &work.retiredMaps);
    const bool dotsChanged =
        collectJob(&work.dotsJob, &work.dotPartsSeen, &DotsJob::dots, &session.exactDots,
                   &session.exactDotsReady, &work.retiredDots);
    pruneRetired(&work.retiredMaps);
    pruneRetired(&work.retiredDots);
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
        if (work.regimeJob && !work.regimeJob->finished.load()) {
            stepRegimeJob(work.regimeJob.get());
        } else if (work.dotsJob && !work.dotsJob->finished.load()) {
            stepDotsJob(work.dotsJob.get());
        } else {
            return false;
        }
    } while (std::chrono::steady_clock::now() < deadline);
    return (work.regimeJob && !work.regimeJob->finished.load()) ||
           (work.dotsJob && !work.dotsJob->finished.load());
}

bool backgroundWorkRunning(const Session& session) {
    return session.work.regimeJob != nullptr || session.work.dotsJob != nullptr;
}

void cancelBackgroundWork(Session& session) {
    cancel(&session.work.regimeJob, &session.work.retiredMaps);
    cancel(&session.work.dotsJob, &session.work.retiredDots);
}

bool stopBackgroundWork(Session& session, double seconds) {
    cancelBackgroundWork(session);
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long>(seconds * 1000.0));
    for (;;) {
        const bool mapsEnded = pruneRetired(&session.work.retiredMaps);
        const bool dotsEnded = pruneRetired(&session.work.retiredDots);
        if ((mapsEnded && dotsEnded) || std::chrono::steady_clock::now() >= deadline) {
            return mapsEnded && dotsEnded;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(stopPollMs));
    }
}

} // namespace fv
