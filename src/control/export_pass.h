// The export of a first pass: the state's values and curves written out as
// summary.json, frequency.csv and time.csv.
#pragma once

#include <string>

#include "export/tables.h"
#include "state/state.h"

namespace fv {

// The summary of the pass the state holds.
SummaryValues summaryOf(const State& s);

// Writes the three files into dir (created if missing), all or none; time.csv covers
// seconds. Returns 0, or 1 after one line on standard error naming the path and the
// reason.
int exportFirstPass(State& s, const std::string& dir, double seconds);

} // namespace fv
