// A job of background work: parts 0..parts-1 of a result, each computed whole into the
// result the job's compute function holds and then marked done, so that a reader sees
// only whole parts. Threads take groups of consecutive parts (a row of a map) one by
// one; where no thread can be started the parts are worked in slices, in the order one
// thread would take them. A job can be cancelled: its workers stop after the part they
// are on. Progress counts parts by weight (the first part of a group may weigh more).
#pragma once

#include <atomic>
#include <functional>
#include <memory>

namespace fv {

struct BackgroundJob {
    std::function<void(long part)> compute;    // part into the job's result
    long parts;                                // in all
    long groupParts;                           // consecutive parts one thread takes at once
    long firstPartWeight;                      // progress of each group's first part
    long totalWeight;                          // progress of the whole job
    std::unique_ptr<std::atomic<bool>[]> done; // part by part, set when it is whole
    std::atomic<long> progress;                // weight of the parts done
    long nextPart;                             // the next part worked by slices or handed out
    bool handedOut;                            // groups go elsewhere: slices leave the job alone
    std::atomic<bool> cancelled;
    std::atomic<bool> finished;    // every part is done (or the job was cancelled)
    std::atomic<bool> threadEnded; // its thread has let go of it
};

// A job of parts in groups of groupParts, not yet started.
std::shared_ptr<BackgroundJob> makeJob(long parts, long groupParts, long firstPartWeight,
                                       std::function<void(long part)> compute);

// Every part, on all cores, until done or cancelled; then the job is finished.
void runJob(BackgroundJob* job);

// The next part, on the calling thread; the job is finished after its last.
void stepJob(BackgroundJob* job);

// The group of the next part for computing elsewhere, or -1 when every group has been
// handed out; from then on stepJob is not to be called. A group that slices have begun
// is handed out whole: its parts come out the same.
long takeJobGroup(BackgroundJob* job);

// Marks the parts of group done once the caller has put their result into the job's (a
// group put twice counts once); the job is finished when its last part is done.
void putJobGroup(BackgroundJob* job, long group);

// Whether part is done (its result may be read), and the part of the job done, 0 to 1.
bool jobPartDone(const BackgroundJob& job, long part);
double jobFraction(const BackgroundJob& job);

} // namespace fv
