// Work off the event loop. A job is shared between the event loop, which may drop it,
// and the detached thread that fills it, so that a cancelled job never makes the event
// loop wait: its thread finishes the part it is on and goes. A part (a cell of the map,
// a dot) is marked done with release order after it is written, and read only after
// its mark is seen with acquire order.
#include "control/background.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <system_error>
#include <thread>
#ifdef __linux__
#include <sys/resource.h>
#endif

#include "common/parallel.h"
#include "control/params.h"

namespace fv {

namespace {

// A chart row of the map takes about as long as a row of its cells: it counts as many
// parts in the progress.
constexpr long chartRowParts = regimeColumns;
constexpr long regimeParts = static_cast<long>(regimeRows) * (regimeColumns + chartRowParts);
constexpr int stopPollMs = 5;     // how often the end of the threads is looked for
constexpr int workerNiceness = 5; // the workers' priority below the window's (nice)

struct RegimeJob {
    double zeta;
    RegimeMap map;
    std::atomic<bool> cellDone[regimeRows][regimeColumns];
    std::atomic<long> partsDone;
    std::atomic<bool> cancelled;
    std::atomic<bool> finished;
};

struct DotsJob {
    ClosedFormSystem system;
    ExactDots dots;
    std::atomic<bool> dotDone[exactDotCount];
    std::atomic<long> partsDone;
    std::atomic<bool> cancelled;
    std::atomic<bool> finished;
};

// The jobs under way; only the event loop's thread touches these pointers.
std::shared_ptr<RegimeJob> regimeJob;
std::shared_ptr<DotsJob> dotsJob;
long regimePartsSeen = 0; // what the window last drew of them
long dotPartsSeen = 0;
std::atomic<int> liveThreads{0};

void runRegimeJob(RegimeJob* job) {
    parallelFor(regimeRows, [job](long r) {
        const int row = static_cast<int>(r);
        if (job->cancelled.load(std::memory_order_relaxed)) {
            return;
        }
        computeRegimeChartRow(job->zeta, row, &job->map);
        job->partsDone.fetch_add(chartRowParts, std::memory_order_relaxed);
        for (int c = 0; c < regimeColumns; ++c) {
            if (job->cancelled.load(std::memory_order_relaxed)) {
                return;
            }
            computeRegimeCell(job->zeta, row, c, &job->map);
            job->cellDone[row][c].store(true, std::memory_order_release);
            job->partsDone.fetch_add(1, std::memory_order_relaxed);
        }
    });
    job->finished.store(true, std::memory_order_release);
}

void runDotsJob(DotsJob* job) {
    parallelFor(exactDotCount, [job](long k) {
        if (job->cancelled.load(std::memory_order_relaxed)) {
            return;
        }
        computeExactDot(job->system, static_cast<int>(k), &job->dots);
        job->dotDone[k].store(true, std::memory_order_release);
        job->partsDone.fetch_add(1, std::memory_order_relaxed);
    });
    job->finished.store(true, std::memory_order_release);
}

// Runs work(job) on a detached thread that keeps the job alive; where no thread can be
// started the calling thread does the work.
template <typename Job> void launch(const std::shared_ptr<Job>& job, void (*work)(Job*)) {
    liveThreads.fetch_add(1);
    try {
        std::thread([job, work] {
#ifdef __linux__
            // Below the window's own thread (and the renderer's), so that a frame asked
            // for by a key is drawn at once; the helpers it starts inherit it.
            setpriority(PRIO_PROCESS, 0, workerNiceness);
#endif
            work(job.get());
            liveThreads.fetch_sub(1);
        }).detach();
    } catch (const std::system_error&) {
        work(job.get());
        liveThreads.fetch_sub(1);
    }
}

template <typename Job> void cancel(std::shared_ptr<Job>* job) {
    if (*job) {
        (*job)->cancelled.store(true);
        job->reset();
    }
}

} // namespace

void startRegimeMapJob(double mapZeta) {
    if ((regimeMapReady && sameBits(regimeMap.zeta, mapZeta)) ||
        (regimeJob && sameBits(regimeJob->zeta, mapZeta))) {
        return;
    }
    cancel(&regimeJob);
    auto job = std::make_shared<RegimeJob>();
    job->zeta = mapZeta;
    job->map.zeta = mapZeta;
    for (auto& row : job->cellDone) {
        for (std::atomic<bool>& done : row) {
            done.store(false, std::memory_order_relaxed);
        }
    }
    job->partsDone.store(0);
    job->cancelled.store(false);
    job->finished.store(false);
    regimeJob = job;
    regimePartsSeen = 0;
    launch<RegimeJob>(job, runRegimeJob);
}

JobProgress regimeMapJobProgress(double mapZeta) {
    if (!regimeJob || !sameBits(regimeJob->zeta, mapZeta)) {
        return {false, 0.0};
    }
    return {true, static_cast<double>(regimeJob->partsDone.load()) / regimeParts};
}

bool regimeCellDone(int row, int column) {
    return regimeJob && regimeJob->cellDone[row][column].load(std::memory_order_acquire);
}

const RegimeMap* regimeMapJobCells() {
    return regimeJob ? &regimeJob->map : nullptr;
}

void startExactDotsJob(const ClosedFormSystem& sys) {
    if ((exactDotsReady && sameSystem(exactDots.system, sys)) ||
        (dotsJob && sameSystem(dotsJob->system, sys))) {
        return;
    }
    cancel(&dotsJob);
    auto job = std::make_shared<DotsJob>();
    job->system = sys;
    job->dots.system = sys;
    for (std::atomic<bool>& done : job->dotDone) {
        done.store(false, std::memory_order_relaxed);
    }
    job->partsDone.store(0);
    job->cancelled.store(false);
    job->finished.store(false);
    dotsJob = job;
    dotPartsSeen = 0;
    launch<DotsJob>(job, runDotsJob);
}

JobProgress exactDotsJobProgress(const ClosedFormSystem& sys) {
    if (!dotsJob || !sameSystem(dotsJob->system, sys)) {
        return {false, 0.0};
    }
    return {true, static_cast<double>(dotsJob->partsDone.load()) / exactDotCount};
}

bool exactDotDone(int k) {
    return dotsJob && dotsJob->dotDone[k].load(std::memory_order_acquire);
}

const ExactDots* exactDotsJobValues() {
    return dotsJob ? &dotsJob->dots : nullptr;
}

bool collectBackgroundWork() {
    bool changed = false;
    if (regimeJob) {
        const long done = regimeJob->partsDone.load();
        changed = changed || done != regimePartsSeen;
        regimePartsSeen = done;
        if (regimeJob->finished.load(std::memory_order_acquire)) {
            regimeMap = regimeJob->map;
            regimeMapReady = true;
            regimeJob.reset();
            changed = true;
        }
    }
    if (dotsJob) {
        const long done = dotsJob->partsDone.load();
        changed = changed || done != dotPartsSeen;
        dotPartsSeen = done;
        if (dotsJob->finished.load(std::memory_order_acquire)) {
            exactDots = dotsJob->dots;
            exactDotsReady = true;
            dotsJob.reset();
            changed = true;
        }
    }
    return changed;
}

bool backgroundWorkRunning() {
    return regimeJob != nullptr || dotsJob != nullptr;
}

void cancelBackgroundWork() {
    cancel(&regimeJob);
    cancel(&dotsJob);
}

bool stopBackgroundWork(double seconds) {
    cancelBackgroundWork();
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long>(seconds * 1000.0));
    while (liveThreads.load() > 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(stopPollMs));
    }
    return liveThreads.load() == 0;
}

} // namespace fv
