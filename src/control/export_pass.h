// The export of a first pass: the parameter set's values and curves written out as
// summary.json, frequency.csv and time.csv.
#pragma once

#include <string>

#include "export/tables.h"

namespace fv {

// The summary of the pass the parameter set holds now.
SummaryValues currentSummary();

// Writes the three files into dir (created if missing), all or none; time.csv covers
// seconds. Returns 0, or 1 after one line on standard error naming the path and the
// reason.
int exportFirstPass(const std::string& dir, double seconds);

} // namespace fv
