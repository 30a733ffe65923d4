// Work off the event loop: the regime map and the exact dots of the window computed on
// worker threads while the window answers its keys. Each job fills a buffer of its own,
// cell by cell or dot by dot, and marks each part ready only when it is whole, so that
// the window can draw what is done and no half-computed part; the finished result
// becomes the window's when the event loop collects it. A job is cancelled by the keys
// that return to the console and by the end of the program.
#pragma once

#include "analysis/system.h"
#include "exact/dots.h"
#include "regime/map.h"

namespace fv {

// What a job under way has done, for the window to draw.
struct JobProgress {
    bool running;    // a job is under way for what the window shows
    double fraction; // part of its work done, 0 to 1
};

// Starts computing the regime map of zeta, unless it is the one shown or under way;
// a job for another zeta is cancelled.
void startRegimeMapJob(double zeta);
// The regime map job under way for zeta, if any, and whether cell (row, column) of it is
// done; its cells in *map (valid while the job lives, until the next collection).
JobProgress regimeMapJobProgress(double zeta);
bool regimeCellDone(int row, int column);
const RegimeMap* regimeMapJobCells();

// The same for the exact dots of sys.
void startExactDotsJob(const ClosedFormSystem& sys);
JobProgress exactDotsJobProgress(const ClosedFormSystem& sys);
bool exactDotDone(int k);
const ExactDots* exactDotsJobValues();

// On the event loop's thread: moves the results of finished jobs into the parameter
// set's regime map and exact dots (marking them ready). True when anything the window
// draws has changed since the last call: a part done, or a job finished.
bool collectBackgroundWork();

// Whether any job is under way.
bool backgroundWorkRunning();

// Cancels every job; their threads end after the part they are working on.
void cancelBackgroundWork();

// Cancels every job and waits at most seconds for their threads to end; false when one
// is still working (then the process must end without running its destructors).
bool stopBackgroundWork(double seconds);

} // namespace fv
