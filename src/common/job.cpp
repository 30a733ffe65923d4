// Background jobs, part by part. A part is marked done with release order after it is
// written, and read only after its mark is seen with acquire order.
#include "common/job.h"

#include "common/parallel.h"

namespace fv {

namespace {

long weightOf(const BackgroundJob& job, long part) {
    return part % job.groupParts == 0 ? job.firstPartWeight : 1;
}

void workPart(BackgroundJob* job, long part) {
    job->compute(part);
    job->done[part].store(true, std::memory_order_release);
    job->progress.fetch_add(weightOf(*job, part), std::memory_order_relaxed);
}

} // namespace

std::shared_ptr<BackgroundJob> makeJob(long parts, long groupParts, long firstPartWeight,
                                       std::function<void(long part)> compute) {
    auto job = std::make_shared<BackgroundJob>();
    job->compute = std::move(compute);
    job->parts = parts;
    job->groupParts = groupParts;
    job->firstPartWeight = firstPartWeight;
    job->totalWeight = (parts / groupParts) * (firstPartWeight + groupParts - 1);
    job->done.reset(new std::atomic<bool>[static_cast<std::size_t>(parts)]);
    for (long k = 0; k < parts; ++k) {
        job->done[k].store(false, std::memory_order_relaxed);
    }
    job->progress.store(0);
    job->nextPart = 0;
    job->handedOut = false;
    job->cancelled.store(false);
    job->finished.store(false);
    job->threadEnded.store(false);
    return job;
}

void runJob(BackgroundJob* job) {
    parallelFor(job->parts / job->groupParts, [job](long group) {
        for (long k = 0; k < job->groupParts; ++k) {
            if (job->cancelled.load(std::memory_order_relaxed)) {
                return;
            }
            workPart(job, group * job->groupParts + k);
        }
    });
    job->finished.store(true, std::memory_order_release);
}

void stepJob(BackgroundJob* job) {
    workPart(job, job->nextPart);
    if (++job->nextPart == job->parts) {
        job->finished.store(true, std::memory_order_release);
    }
}

long takeJobGroup(BackgroundJob* job) {
    if (job->nextPart >= job->parts) {
        return -1;
    }
    const long group = job->nextPart / job->groupParts;
    job->nextPart = (group + 1) * job->groupParts;
    job->handedOut = true;
    return group;
}

void putJobGroup(BackgroundJob* job, long group) {
    if (group < 0 || group >= job->parts / job->groupParts) {
        return;
    }
    for (long part = group * job->groupParts; part < (group + 1) * job->groupParts; ++part) {
        if (!job->done[part].exchange(true, std::memory_order_acq_rel)) {
            job->progress.fetch_add(weightOf(*job, part), std::memory_order_relaxed);
        }
    }
    if (job->progress.load() == job->totalWeight) {
        job->finished.store(true, std::memory_order_release);
    }
}

bool jobPartDone(const BackgroundJob& job, long part) {
    return job.done[part].load(std::memory_order_acquire);
}

double jobFraction(const BackgroundJob& job) {
    return static_cast<double>(job.progress.load()) / static_cast<double>(job.totalWeight);
}

} // namespace fv
