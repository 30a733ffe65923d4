// Work off the event loop: the regime map and the exact dots of the window computed on
// worker threads (or in slices between the events, where there are no threads) while the
// window answers its keys. Each job fills a buffer of its own,
// cell by cell or dot by dot, and marks each part ready only when it is whole, so that
// the window can draw what is done and no half-computed part; the finished result
// becomes the session's when the event loop collects it. A job is cancelled by the keys
// that return to the console and by the end of the program.
#pragma once

#include "state/state.h"

namespace fv {

// What a job under way has done, for the window to draw.
struct JobProgress {
    bool running;    // a job is under way for what the window shows
    double fraction; // part of its work done, 0 to 1
};

// Starts computing the regime map of sys, unless it is the one kept or under way; a job
// for another system is cancelled.
void startRegimeMapJob(Session& session, const RegimeSystem& sys);
// The regime map job under way for sys, if any; whether cell (row, column) of it is
// done; and its cells (valid while the job lives, until the next collection).
JobProgress regimeMapJobProgress(const Session& session, const RegimeSystem& sys);
bool regimeCellDone(const Session& session, int row, int column);
const RegimeMap* regimeMapJobCells(const Session& session);

// Where the program has no threads and the map's rows are computed elsewhere (the web
// page's workers, each computing a row whole with computeRegimeMapRow for the job's
// system): the next row of the job under way that nobody has yet, or -1 (always where the
// job has threads of its own); from the first row taken the event loop's slices leave
// the map alone. A row computed for the job of sys is put into it, done (false when that
// job is no longer under way). The system of the job under way, or nullptr.
int takeRegimeMapRow(Session& session);
bool putRegimeMapRow(Session& session, const RegimeSystem& sys, int row,
                     const RegimeCell (&cells)[regimeColumns]);
const RegimeSystem* regimeMapJobSystem(const Session& session);

// Row of the map of sys computed whole, as the job's parts compute it, in scratch (a map
// of the caller's) and copied to cells: the work of a page's worker.
void computeRegimeMapRow(const RegimeSystem& sys, int row, RegimeMap* scratch,
                         RegimeCell (&cells)[regimeColumns]);

// The same for the exact dots of sys.
void startExactDotsJob(Session& session, const ClosedFormSystem& sys);
JobProgress exactDotsJobProgress(const Session& session, const ClosedFormSystem& sys);
bool exactDotDone(const Session& session, int k);
const ExactDots* exactDotsJobValues(const Session& session);

// An exact dot the frequency chart shows: its ratio and its steady motion.
struct ShownDot {
    double ratio;
    ExactSteady steady;
};
// The exact dots the chart shows now, in ratio order: those computed (every one once the
// dots are current), each with an amplitude or growing without bound (a mass that never
// moves has no amplitude to show). False where the chart shows no dots: hidden, or
// neither current nor under way.
bool shownExactDots(const State& s, std::vector<ShownDot>* dots);

// On the event loop's thread: moves the results of finished jobs into the session's
// regime map and exact dots (marking them ready). True when anything the window draws
// has changed since the last call: a part done, or a job finished.
bool collectBackgroundWork(Session& session);

// Where the program has no threads (the browser): works the jobs under way on the
// calling thread for about seconds (at least one part), the map first; true while parts
// are left. Elsewhere the jobs have threads of their own and this does nothing (false).
bool stepBackgroundWork(Session& session, double seconds);

// Whether any job is under way.
bool backgroundWorkRunning(const Session& session);

// Cancels every job; their threads end after the part they are working on.
void cancelBackgroundWork(Session& session);

// Cancels every job and waits at most seconds for their threads to end; false when one
// is still working (then the process must end without running its destructors).
bool stopBackgroundWork(Session& session, double seconds);

} // namespace fv
